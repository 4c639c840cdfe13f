// The EDS reader as the main window runs it: its EDS path and family code, its
// main map, and template counts asked of the connected device.
#include "device/eds_reader.h"

#include "device/data_types.h"
#include "device/little_endian.h"
#include "device/main_window_services.h"
#include "device/object_address.h"
#include "device/sdo_request.h"

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
