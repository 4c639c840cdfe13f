// Out-of-line destructor, so the interface's vtable lives in one place.
#include "device/main_window_services.h"

MainWindowServices::~MainWindowServices() = default;
