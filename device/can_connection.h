// Opening and closing the USB-CAN adapter through the stack, and finding the
// node to work with. These run on the GUI thread and block it during their
// exchanges; they report through the main window's log.
#pragma once

#include <QString>

#include <cstdint>

class MainWindowServices;
struct NodeContext;

/// Adapter rate character for a CAN bit rate text ('0' for 10000 to '8' for
/// 1000000 bit/s; '2' for any other text, an empty one included).
char bitRateCode(const QString &rateText);

/// Serial device name of the port text: "COM"/"com" removed (COM5 gives 5).
QByteArray busNameOfPort(const QString &port);

/// Binds the adapter driver, opens the configured port, sets the bit rate and
/// starts the stack. True when connected; on failure the reason is logged, the
/// connection-dependent controls are disabled and nothing stays open.
bool connectCan(MainWindowServices &window);

/// Stops the loader, the stack and the port; logs "Устройство отключено.".
/// Does nothing unless connected.
void disconnectCan(MainWindowServices &window);

/// Connects when needed, then probes the configured node, or nodes 31 and 127
/// when none is configured (the one that answers becomes the configured node).
bool findNode(MainWindowServices &window);

/// Points the SDO client at the node and reads its object 0x1000 (3 tries).
bool probeNode(quint8 nodeId);

/// Start and exit functions of the stack's timer loop.
void onStackInit(NodeContext *node, uint32_t id);
void onStackExit(NodeContext *node, uint32_t id);
