// The one process-wide record of the chosen connection: port, bit rate, node and time-out.
#pragma once

#include "device/device_node_info.h"

#include <QString>
#include <QVector>

struct ConnectionSettings {
    QVector<QString> spareTexts{QString(""), QString("")};
    DeviceNodeInfo device;       ///< its nodeId is the target of every request that names no node
    QString port{""};            ///< serial port name as the platform lists it
    QString baudRate{"250000"};  ///< CAN bit rate in bit/s as decimal text
    qint32 canBusAccess = 0;     ///< non-zero opens the adapter at "2400", zero at "4800"
    qint32 spareInt = 10;
    qint32 sdoTimeout = 800;     ///< longest wait of one request try, ms
    quint8 spareByte = 255;
};

extern ConnectionSettings connectionSettings;
