// The EDS reader as the main window runs it: its EDS path and family code, its
// main map, and template counts asked of the connected device.
#include "eds_reader.h"

#include "data_types.h"
#include "main_window_services.h"
#include "sdo_request.h"

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
    quint16 count = 0;
    for (int i = 0; i < qMin(2, reply.data.size()); ++i)
        count |= quint16(quint8(reply.data[i]) << (8 * i));
    return count;
}

void readEds(MainWindowServices &window)
{
    const bool found = readEdsFile(window.m_edsPath, window.m_deviceFamilyCode, window.m_mainParams,
                                   [&window](const QString &indexText) {
                                       return getAutoGenSubsCnt(window, indexText);
                                   });
    if (!found)
        window.logMessage(QString::fromUtf8("Ошибка! Файл словаря объектов не найден. "), false);
}
