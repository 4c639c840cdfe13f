// Connect, disconnect, node probe and node search.
#include "can_connection.h"

#include "connection_settings.h"
#include "load_can_data_thread.h"
#include "main_window_services.h"
#include "sdo_request.h"

#include "master_od.h"
#include "nmt.h"
#include "port.h"
#include "serial_can.h"
#include "stack_timer.h"

#include <QRegularExpression>

namespace {
QString tr8(const char *text)
{
    return QString::fromUtf8(text);
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
    return '2';
}

QByteArray busNameOfPort(const QString &port)
{
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
    window.logMessage(tr8("Подключение..."), true);
    bindCanDriver();
    initStackTimers();

    const QByteArray busName = busNameOfPort(connectionSettings.port);
    const QByteArray serialRate = connectionSettings.canBusAccess != 0 ? "2400" : "4800";
    const BoardSpec spec{busName.constData(), serialRate.constData()};
    CanPortSlot *port = openCanPort(&spec, &masterNode);
    if (port == nullptr) {
        window.logMessage(tr8("Не удалось установить usb соединение."), false);
        window.setUiConnected(false);
        return false;
    }
    const char rate = bitRateCode(connectionSettings.baudRate);
    if (changeCanBaudRate(port, &rate) != 0) {
        window.logMessage(tr8("Не удалось установить скорость соединения."), false);
        window.setUiConnected(false);
        closeCanPort(&masterNode);
        return false;
    }
    startStackTimerLoop(onStackInit);
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
        window.logMessage(tr8("Не удалось разорвать usb соединение."), false);
    window.logMessage(tr8("Устройство отключено."), false);
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
