// Reads of a device's name and identity objects. Each blocks its thread for up
// to 3 tries and fails quietly with its failure value.
#pragma once

#include <QString>

/// Name from object 0x1008 of the node: trimmed, NUL characters removed;
/// "CANopen device" when it cannot be read or is empty.
QString readDeviceName(quint8 nodeId);

/// Value of the configured node's entry (at most 4 answer bytes, little-endian)
/// as signed 32-bit decimal text; empty when it cannot be read.
QString readValueAsDecimal(quint16 index, quint8 subindex, quint8 dataType);

/// The same as lower-case hexadecimal without prefix or leading zeros; empty
/// when it cannot be read or is 0.
QString readValueAsHex(quint16 index, quint8 subindex, quint8 dataType);

/// Storage format of the stored EDS (object 0x1022 sub 0, 0 to 65535); -1 when unreadable.
int readStorageFormat();

/// Module count (object 0x1027 sub 0, 0 to 255); -1 when unreadable.
int readModuleCount();
