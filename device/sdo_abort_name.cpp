// The abort-code name table. Codes 0x06010002 and 0x06020000 share a name on purpose:
// to the engineer both mean the entry cannot be reached.
#include "device/sdo_abort_name.h"

QString sdoAbortName(quint32 abortCode)
{
    static const struct {
        quint32 code;
        const char *name;
    } table[] = {
        {0x06010001u, "OD_READ_NOT_ALLOWED"},
        {0x06010002u, "OD_NO_SUCH_OBJECT"},
        {0x06020000u, "OD_NO_SUCH_OBJECT"},
        {0x06040041u, "OD_NOT_MAPPABLE"},
        {0x06070010u, "OD_LENGTH_DATA_INVALID"},
        {0x06090011u, "OD_NO_SUCH_SUBINDEX"},
        {0x06090030u, "OD_VALUE_RANGE_EXCEEDED"},
        {0x06090031u, "OD_VALUE_TOO_LOW"},
        {0x06090032u, "OD_VALUE_TOO_HIGH"},
        {0x05030000u, "SDOABT_TOGGLE_NOT_ALTERNED"},
        {0x05040000u, "SDOABT_TIMED_OUT"},
        {0x05040005u, "SDOABT_OUT_OF_MEMORY"},
        {0x08000000u, "SDOABT_GENERAL_ERROR"},
        {0x08000021u, "SDOABT_LOCAL_CTRL_ERROR"},
    };
    for (const auto &entry : table) {
        if (entry.code == abortCode)
            return QString::fromLatin1(entry.name);
    }
    return QString("");
}
