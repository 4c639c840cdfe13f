// CiA 301 data-type codes as this tool handles them, and the size and kind of
// the value each code stands for.
#pragma once

namespace DataType {
enum : int {
    Boolean = 1,
    Integer8 = 2,
    Integer16 = 3,
    Integer32 = 4,
    Unsigned8 = 5,
    Unsigned16 = 6,
    Unsigned32 = 7,
    Real32 = 8,
    VisibleString = 9,
    OctetString = 10,
    Domain = 15,
    Real64 = 17,
    Integer64 = 21,
    Unsigned64 = 27,
};
}

/// Byte size of a value of the data type: 1, 2, 4 or 8; -1 for strings,
/// DOMAIN and every code not listed.
int dataTypeSize(int dataType);

/// Value kind of a record: 3 for BOOLEAN, 1 for every other code.
int dataTypeKind(int dataType);

/// True for the two text types, whose value lives in currentValueStr.
inline bool isStringType(int dataType)
{
    return dataType == DataType::VisibleString || dataType == DataType::OctetString;
}
