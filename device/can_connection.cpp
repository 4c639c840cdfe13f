// Connect, disconnect, node probe and node search.
#include "device/can_connection.h"

#include "device/connection_settings.h"
#include "device/load_can_data_thread.h"
#include "device/main_window_services.h"
#include "device/sdo_request.h"

#include "canopen/master_od.h"
#include "canopen/nmt.h"
#include "canopen/port.h"
#include "canopen/stack_timer.h"

#include <QRegularExpression>

namespace {
// The log texts of this file, written in UTF-8 source.
QString logText(const char *utf8)
{
    return QString::fromUtf8(utf8);
}
} // namespace

char bitRateCode(const QString &rateText)
{
    static const struct {
        const char *rate;
        char code;
    } table[] = {{"10000", '0'},  {"20000", '1'},  {"50000", '2'},  {"100000", '3'},
                 {"125000", '4'}, {"250000", '5'}, {"500000", '6'}, {"800000", '7'},
                 {"1000000", '8'}};
    for (const auto &entry : table) {
        if (rateText == QLatin1String(entry.rate))
            return entry.code;
    }
    // A rate the table does not know (an empty setting included) still sets a
    // defined rate, 50 kbit/s, instead of sending the adapter a character it rejects.
    return '2';
}

QByteArray busNameOfPort(const QString &port)
{
    // The adapter driver opens a port by its number alone (COM5 is bus 5).
    static const QRegularExpression comPrefix("COM|com");
    return QString(port).remove(comPrefix).toLocal8Bit();
}

void onStackInit(NodeContext *, uint32_t)
{
    setNodeId(&masterNode, 1);
    setNodeState(&masterNode, NmtState::Initialisation);
}

void onStackExit(NodeContext *, uint32_t)
{
    setNodeState(&masterNode, NmtState::Stopped);
}

bool connectCan(MainWindowServices &window)
{
    if (window.m_connected)
        return true; // a second stack timer thread or port must never start
    window.m_connected = false;
    window.logMessage(logText("Подключение..."), true);
    bindCanDriver();
    initStackTimers();

    const QByteArray busName = busNameOfPort(connectionSettings.port);
    const QByteArray serialRate = connectionSettings.canBusAccess != 0 ? "2400" : "4800";
    const BoardSpec spec{busName.constData(), serialRate.constData()};
    CanPortSlot *port = openCanPort(&spec, &masterNode);
    if (port == nullptr) {
        window.logMessage(logText("Не удалось установить usb соединение."), false);
        window.setUiConnected(false);
        return false;
    }
    const char rate = bitRateCode(connectionSettings.baudRate);
    if (changeCanBaudRate(port, &rate) != 0) {
        window.logMessage(logText("Не удалось установить скорость соединения."), false);
        window.setUiConnected(false);
        closeCanPort(&masterNode);
        return false;
    }
    if (!startStackTimerLoop(onStackInit)) {
        // Without its start the master never boots and every request would fail.
        window.logMessage(logText("Не удалось запустить стек CANopen."), false);
        window.setUiConnected(false);
        closeCanPort(&masterNode);
        return false;
    }
    window.m_connected = true;
    canLinkError = 0;
    return true;
}

void disconnectCan(MainWindowServices &window)
{
    if (!window.m_connected)
        return;
    window.m_currentOperation = QString("");
    LoadCanDataThread *loader = window.m_loadCanDataThread;
    if (loader != nullptr && loader->isRunning()) {
        loader->stopProcess();
        loader->wait();
    }
    stopStackTimerLoop(onStackExit);
    if (closeCanPort(&masterNode) == 0)
        window.logMessage(logText("Не удалось разорвать usb соединение."), false);
    window.logMessage(logText("Устройство отключено."), false);
    window.m_connected = false;
}

bool probeNode(quint8 nodeId)
{
    pointSdoClientAt(nodeId);
    return sdoRequest(nodeId, requestDeviceType).ok;
}

bool findNode(MainWindowServices &window)
{
    if (!window.m_connected)
        connectCan(window);
    if (!window.m_connected)
        return false;
    if (connectionSettings.device.nodeId != 0)
        return probeNode(quint8(connectionSettings.device.nodeId));
    for (quint8 candidate : {quint8(31), quint8(127)}) {
        if (probeNode(candidate)) {
            connectionSettings.device.nodeId = candidate;
            return true;
        }
    }
    return false;
}
