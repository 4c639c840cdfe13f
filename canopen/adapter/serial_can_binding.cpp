// Binds the serial adapter driver into the driver table of the port layer.
#include "canopen/adapter/serial_can.h"
#include "canopen/can_driver.h"

int bindCanDriver()
{
    canDriver.receive = serialCanReceive;
    canDriver.send = serialCanSend;
    canDriver.open = serialCanOpen;
    canDriver.close = serialCanClose;
    canDriver.changeBaudRate = serialCanChangeBaudRate;
    return 1;
}
