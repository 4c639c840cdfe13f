// The process-wide connection record, and the registration that lets a node
// record travel by value through queued signals.
#include "connection_settings.h"

ConnectionSettings connectionSettings;

namespace {
[[maybe_unused]] const int deviceNodeInfoTypeId = qRegisterMetaType<DeviceNodeInfo>("DeviceNodeInfo");
}
