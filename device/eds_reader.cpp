// The EDS walk. Sections come in the INI reader's ascending name order, so an
// index section precedes its sub sections; the last index section seen is the
// parent of the sub sections that follow, and a template index's sub0 section
// leaves a pending count that the next record-making section consumes.
#include "device/eds_reader.h"

#include "device/data_types.h"
#include "device/little_endian.h"
#include "device/main_window_services.h"
#include "device/object_address.h"
#include "device/sdo_request.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QTextCodec>
#include <QVariant>

#include <algorithm>

namespace {

// Many vendors' tools write EDS files in a Windows code page rather than UTF-8;
// such a file is read byte for byte as Latin-1 instead of losing its texts to
// replacement characters.
const char *edsCodecName(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "UTF-8";
    const QByteArray bytes = file.readAll();
    QTextCodec::ConverterState state;
    QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    return state.invalidChars == 0 && state.remainingChars == 0 ? "UTF-8" : "ISO-8859-1";
}

QString readListOrText(const QSettings &settings, const QString &key)
{
    const QVariant value = settings.value(key);
    if (value.type() == QVariant::StringList)
        return value.toStringList().join(", ");
    return value.toString();
}

int parseDataType(QString text)
{
    text = text.trimmed();
    if (text.startsWith("0x", Qt::CaseInsensitive))
        text = text.mid(2);
    bool ok = false;
    const int value = text.toInt(&ok, 16);
    return ok ? value : 0;
}

void addSubEntryName(CanParam &parent, const QString &name)
{
    auto &names = parent.subEntryNames;
    const auto at = std::lower_bound(names.begin(), names.end(), name);
    if (at == names.end() || *at != name)
        names.insert(at, name);
}

struct Section {
    QString indexText;
    QString subindexText;
    bool isSub = false;
};

// Splits a section name into index and subindex texts; false for a name that
// is longer than an index but has no "sub" to split at.
bool splitSectionName(const QString &name, Section &section)
{
    static const QRegularExpression subPattern("^(.*)sub(.*)$");
    if (name.size() <= 4) {
        section.indexText = name;
        section.subindexText = "0";
        section.isSub = false;
        return true;
    }
    const QRegularExpressionMatch match = subPattern.match(name);
    if (!match.hasMatch())
        return false;
    section.indexText = match.captured(1);
    section.subindexText = match.captured(2);
    section.isSub = true;
    return true;
}

} // namespace

bool readEdsFile(const QString &path, const QString &familyCode, CanParamMap &map,
                 const SubEntryCounter &countSubEntries, QStringList *problems)
{
    if (!QFileInfo(path).isFile())
        return false;

    static const QRegularExpression sectionPattern("^[A-F|0-9]{4}(sub)?[A-F|0-9]*$");
    QSettings eds(path, QSettings::IniFormat);
    eds.setIniCodec(edsCodecName(path));
    const auto report = [problems](const QString &text) {
        if (problems != nullptr)
            problems->append(text);
    };

    QString parentName;
    int pending = 0;
    int records = 0;
    const QStringList groups = eds.childGroups();
    for (const QString &group : groups) {
        if (!sectionPattern.match(group).hasMatch())
            continue;
        Section section;
        if (!splitSectionName(group, section))
            continue;
        eds.beginGroup(group);
        const QString parameterName = readListOrText(eds, "ParameterName");
        const QString comment = readListOrText(eds, "Comment");
        if (parameterName.isEmpty()) {
            eds.endGroup();
            continue;
        }
        const QString dataTypeText = eds.value("DataType").toString();
        const QString accessType = eds.value("AccessType").toString();
        const QString defaultValue = readListOrText(eds, "DefaultValue");
        eds.endGroup();

        bool ok = false;
        const uint indexValue = section.indexText.toUInt(&ok, 16);
        if (section.isSub && section.subindexText == "0" && ok && indexValue >= 0xA000
            && indexValue <= 0xBFFF) {
            pending = countSubEntries ? countSubEntries(section.indexText) : 0;
            continue;
        }

        const int dataType = parseDataType(dataTypeText);
        const int copies = pending > 0 ? pending : 1;
        for (int j = 0; j < copies; ++j) {
            QString subindexText = section.subindexText;
            if (pending > 0)
                subindexText = QString::number(j + 1, 16).toUpper();
            QString subPart;
            if (section.isSub)
                subPart = ("00" + QString::number(subindexText.toUInt(nullptr, 16))).right(3);
            const QString indexPart = pending > 0 ? section.indexText + "sub" + subindexText
                                                  : "0x" + group;
            if (section.indexText == "1021")
                break; // the stored EDS itself is no parameter
            ObjectAddress address;
            if (!parseObjectAddress(section.indexText, subindexText, address)) {
                // Template copies count upwards, so none after this one fits either.
                report(QString::fromUtf8("Раздел [%1] файла словаря объектов пропущен: %2")
                           .arg(group, badObjectAddressText(section.indexText, subindexText)));
                break;
            }

            CanParam param;
            param.name = subPart + " " + indexPart + " " + parameterName;
            param.index = section.indexText;
            param.subindex = subindexText;
            const QString caption =
                pending > 0 ? parameterName.left(parameterName.size() - 1) + QString::number(j + 1)
                            : parameterName;
            param.caption = indexPart + " " + caption;
            param.description = section.indexText == familyCode ? QString("") : comment;
            param.readOnly = accessType == "ro";
            param.defaultValue = defaultValue;
            param.dataType = dataType;
            param.valueKind = dataTypeKind(dataType);
            param.size = dataTypeSize(dataType);
            param.ownerMap = &map;

            if (!section.isSub) {
                parentName = param.name;
            } else {
                // A sub section whose index section is missing gets no parent
                // rather than the last index section of another object.
                const auto parentAt = map.find(parentName);
                if (parentAt != map.end() && parentAt->index == section.indexText) {
                    param.parent = parentName;
                    if (subindexText == "1")
                        parentAt->dataType = 0;
                    addSubEntryName(*parentAt, param.name);
                }
            }
            map.insert(param.name, param);
            ++records;
        }
        pending = 0;
    }
    if (records == 0)
        report(QString::fromUtf8("Ошибка! Файл словаря объектов не содержит ни одного объекта. "));
    return true;
}

// The reader as the main window runs it: its EDS path and family code, its main map,
// and template counts asked of the connected device.
quint16 getAutoGenSubsCnt(MainWindowServices &window, const QString &indexText)
{
    ObjectAddress address;
    const bool named = parseObjectAddress(indexText, "0", address);
    const SdoReply reply = named ? sdoRead(configuredNodeId(), address.index, 0, DataType::Unsigned8)
                                 : SdoReply();
    if (!reply.ok) {
        window.logMessage(
            QString::fromUtf8("Не удалось считать количество субиндексов для индекса: ") + indexText,
            false);
        return 0;
    }
    return quint16(littleEndianValue(reply.data, 2));
}

void readEds(MainWindowServices &window)
{
    QStringList problems;
    const bool found = readEdsFile(window.m_edsPath, window.m_deviceFamilyCode, window.m_mainParams,
                                   [&window](const QString &indexText) {
                                       return getAutoGenSubsCnt(window, indexText);
                                   },
                                   &problems);
    if (!found)
        window.logMessage(QString::fromUtf8("Ошибка! Файл словаря объектов не найден. "), false);
    for (const QString &problem : qAsConst(problems))
        window.logMessage(problem, false);
}
