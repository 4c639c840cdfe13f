// Names of the SDO abort codes that the user sees inside failure messages.
#pragma once

#include <QString>

/// Name of a CiA 301 SDO abort code ("OD_NO_SUCH_OBJECT", "SDOABT_TIMED_OUT", ...);
/// an empty text for a code the table does not hold.
QString sdoAbortName(quint32 abortCode);
