// The EDS reader as the main window runs it: its EDS path and family code, its
// main map, and template counts asked of the connected device.
#include "device/eds_reader.h"

#include "device/data_types.h"
#include "device/little_endian.h"
#include "device/main_window_services.h"
#include "device/sdo_request.h"

quint16 getAutoGenSubsCnt(MainWindowServices &window, const QString &indexText)
{
    const SdoReply reply =
        sdoRead(configuredNodeId(), quint16(indexText.toUInt(nullptr, 16)), 0, DataType::Unsigned8);
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
