// Runs extractArchive on an archive in a fresh temporary folder and reports
// what came out: the result, the error text, the files inside the output
// folder, and anything that appeared beside it (which must never happen).
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "archive/archive_extractor.h"

namespace zpaqtest {

class ExtractionRun {
public:
    ExtractionRun();

    /// Writes `archive` beside the output folder and extracts it.
    int extract(const QByteArray &archive);
    /// Extracts an archive file read in place.
    int extractFile(const QString &path);
    /// Writes `archive` beside the output folder and extracts it with
    /// `options`, returning the detailed report (nothing is printed).
    zpaq::ExtractReport extractWith(const QByteArray &archive, const zpaq::ExtractOptions &options);

    /// What extractArchive printed on the error output.
    QString errorText() const { return errorText_; }
    /// True when the error output is one "zpaq error: <reason>" line.
    bool hasErrorReason() const;

    QString rootDir() const { return root_.path(); }
    QString outDir() const { return root_.path() + QStringLiteral("/out"); }
    /// A folder beside the output folder that must stay empty.
    QString outsideDir() const { return root_.path() + QStringLiteral("/outside"); }

    /// Regular files below the output folder by relative path.
    QMap<QString, QByteArray> files() const;
    /// Folders below the output folder by relative path.
    QStringList dirs() const;
    /// Everything below the root that is neither the archive, the output
    /// folder's tree, nor the empty outside folder.
    QStringList strayEntries() const;

private:
    QTemporaryDir root_;
    QString errorText_;
};

} // namespace zpaqtest
