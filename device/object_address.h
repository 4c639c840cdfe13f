// The object a record names on the device, taken from its index and subindex
// texts. A text that does not name exactly one object is refused rather than cut
// to fit: a cut index or subindex would read or write another object.
#pragma once

#include <QString>

struct ObjectAddress {
    quint16 index = 0;
    quint8 subindex = 0;
};

/// Index: 1 to 4 hexadecimal digits; subindex: hexadecimal, 0 to 0xFF. False,
/// leaving `address` unchanged, for anything else (empty, signs, prefixes, blanks).
bool parseObjectAddress(const QString &indexText, const QString &subindexText,
                        ObjectAddress &address);

/// The reason shown when a record's address is refused.
QString badObjectAddressText(const QString &indexText, const QString &subindexText);
