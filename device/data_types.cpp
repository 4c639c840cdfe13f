// Size and kind of the CiA 301 data types.
#include "device/data_types.h"

int dataTypeSize(int dataType)
{
    switch (dataType) {
    case DataType::Boolean:
    case DataType::Integer8:
    case DataType::Unsigned8:
        return 1;
    case DataType::Integer16:
    case DataType::Unsigned16:
        return 2;
    case DataType::Integer32:
    case DataType::Unsigned32:
    case DataType::Real32:
        return 4;
    case DataType::Real64:
    case DataType::Integer64:
    case DataType::Unsigned64:
        return 8;
    default:
        return -1;
    }
}

int dataTypeKind(int dataType)
{
    return dataType == DataType::Boolean ? 3 : 1;
}
