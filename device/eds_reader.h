// Reads an EDS file (INI format) into CanParam records: one record per index
// and sub-index section, with template indexes (0xA000-0xBFFF) expanded into as
// many sub-entries as the device reports.
#pragma once

#include "device/can_param.h"

#include <QStringList>

#include <functional>

class MainWindowServices;

/// Asks how many sub-entries the template index (hexadecimal text) has; 0 when unknown.
using SubEntryCounter = std::function<quint16(const QString &indexText)>;

/// Parses the EDS at `path` into `map` (records of the same names are replaced,
/// the map is not cleared). The index equal to `familyCode` gets no descriptions.
/// A file that is not valid UTF-8 is read as Latin-1. A record whose index or
/// subindex names no single object is left out; each such section, and a file
/// that yields no record at all, adds a message to `problems`.
/// Returns false, changing nothing, when the file does not exist.
bool readEdsFile(const QString &path, const QString &familyCode, CanParamMap &map,
                 const SubEntryCounter &countSubEntries, QStringList *problems = nullptr);

/// Parses the EDS at the main window's EDS path into its main parameter map,
/// asking the connected device for template sub-entry counts. A missing file,
/// a file without records and every refused section are logged as errors.
void readEds(MainWindowServices &window);

/// Number of sub-entries of a template index as the device reports it in sub 0;
/// 0, with a logged error, when it cannot be read.
quint16 getAutoGenSubsCnt(MainWindowServices &window, const QString &indexText);
