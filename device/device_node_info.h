// One node found on the bus, as the scan reports it and the connection record keeps it.
#pragma once

#include <QMetaType>
#include <QString>

struct DeviceNodeInfo {
    qint32 nodeId = 0;
    QString ident;       ///< identification number as decimal text (object 0x2000 sub 2, or sub 1)
    QString deviceName;  ///< name from object 0x1008
    QString edsChecksum; ///< EDS checksum as hexadecimal text (object 0x2000 sub 8, or sub 6)
};

Q_DECLARE_METATYPE(DeviceNodeInfo)

// Registered by every program that includes this header, before main runs, so
// that the record can travel by value through queued signals by name.
inline const int deviceNodeInfoMetaTypeId = qRegisterMetaType<DeviceNodeInfo>("DeviceNodeInfo");
