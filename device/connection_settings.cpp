// The process-wide connection record.
#include "device/connection_settings.h"

ConnectionSettings connectionSettings;
