// The local node's NMT state machine, its node id, the switches of the
// communication objects each state asks for, and the NMT frames it sends.
#pragma once

#include "canopen/node_context.h"

constexpr uint32_t kNmtRefused = 0xFFFFFFFF;

// Moves the node to state; returns the new state, the unchanged state when it
// equals the current one, kNmtRefused for an unknown state or for 4 or 5 asked
// while in initialisation. State 0 goes on to pre-operational at once.
uint32_t setNodeState(NodeContext *node, uint32_t state);
uint32_t getNodeState(NodeContext *node);

// Gives the node its id (1 to 127, or 255 for none) and moves the default
// COB-IDs with it. Any id is kept as the last given one (a communication
// reset gives it again); 0 and 128 to 254 change nothing else.
void setNodeId(NodeContext *node, uint8_t nodeId);
uint8_t getNodeId(NodeContext *node);

// Applies the wanted switches, acting only on a change (lss, sdo, emcy, pdo,
// bootUp in that order; sync and lifeGuard are not applied).
void switchCommObjects(NodeContext *node, const CommSwitches *wanted);

// NMT command {command, nodeId} on COB-ID 0; canSend's result.
uint8_t sendNmtCommand(NodeContext *node, uint8_t nodeId, uint8_t command);

// Boot-up frame {0} on 0x700 + node id; 0 without sending when the id is 255.
uint8_t sendBootUp(NodeContext *node);

// Sends a remote request on 0x700 + node id and, once it left, marks the
// node's state unknown (node id 0: all). canSend's result; the adapter refuses
// remote frames.
uint8_t requestNodeGuard(NodeContext *node, uint8_t nodeId);

// NMT-slave handling of a frame with function code 0.
void processNmtCommand(NodeContext *node, const CanMessage *frame);
