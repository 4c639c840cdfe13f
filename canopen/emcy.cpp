// Emergency object. Each active error holds one of eight slots; the error
// register is the OR of their masks, and every raised error enters the
// history at the front.
#include "canopen/emcy.h"

#include "canopen/od.h"
#include "canopen/port.h"

#include <algorithm>

uint32_t onErrorCountWritten(NodeContext *node, const OdIndexEntry *, uint8_t)
{
    if (*node->emcyErrorCount == 0)
        std::fill(node->emcyErrorHistory, node->emcyErrorHistory + node->emcyHistoryLength, 0u);
    return 0;
}

namespace {

// Recomputes the register; true while any error is active.
bool updateRegister(NodeContext *node)
{
    uint8_t value = 0;
    bool active = false;
    for (const EmcyErrorSlot &slot : node->emcyErrors) {
        if (slot.active) {
            value = static_cast<uint8_t>(value | slot.registerMask);
            active = true;
        }
    }
    *node->errorRegister = value;
    return active;
}

EmcyErrorSlot *findSlot(NodeContext *node, uint16_t errorCode)
{
    for (EmcyErrorSlot &slot : node->emcyErrors) {
        if (slot.errorCode == errorCode && slot.active)
            return &slot;
    }
    return nullptr;
}

EmcyErrorSlot *freeSlot(NodeContext *node, uint16_t errorCode)
{
    EmcyErrorSlot *first = nullptr;
    for (EmcyErrorSlot &slot : node->emcyErrors) {
        if (slot.active)
            continue;
        if (slot.errorCode == errorCode)
            return &slot;
        if (first == nullptr)
            first = &slot;
    }
    return first;
}

void addToHistory(NodeContext *node, uint32_t entry)
{
    const uint32_t length = node->emcyHistoryLength;
    if (length == 0)
        return;
    uint32_t *history = node->emcyErrorHistory;
    std::copy_backward(history, history + length - 1, history + length);
    history[0] = entry;
    if (*node->emcyErrorCount < length && *node->emcyErrorCount < 255)
        ++*node->emcyErrorCount;
}

} // namespace

void startEmcy(NodeContext *node)
{
    registerOdWriteCallback(node, 0x1003, 0, onErrorCountWritten);
    *node->emcyErrorCount = 0;
}

void stopEmcy(NodeContext *)
{
}

uint8_t sendEmcy(NodeContext *node, uint16_t errorCode, uint8_t errorRegister, const uint8_t *data,
                 uint8_t length)
{
    CanMessage frame{};
    frame.cobId = static_cast<uint16_t>(*node->emcyCobId & 0x7FF);
    frame.data[0] = static_cast<uint8_t>(errorCode);
    frame.data[1] = static_cast<uint8_t>(errorCode >> 8);
    frame.data[2] = errorRegister;
    if (data == nullptr) {
        frame.len = 8;
    } else {
        const uint8_t n = std::min<uint8_t>(length, 5);
        std::copy(data, data + n, frame.data + 3);
        frame.len = static_cast<uint8_t>(3 + n);
    }
    return canSend(node->port, &frame);
}

uint8_t setEmcyError(NodeContext *node, uint16_t errorCode, uint8_t registerMask, uint16_t additionalInfo)
{
    if (findSlot(node, errorCode) != nullptr)
        return 0;
    EmcyErrorSlot *slot = freeSlot(node, errorCode);
    if (slot == nullptr)
        return 1;
    *slot = EmcyErrorSlot{errorCode, registerMask, 1};
    node->emcyErrorState = 1;
    updateRegister(node);
    addToHistory(node, static_cast<uint32_t>(additionalInfo) << 16 | errorCode);
    if (!node->commSwitches.emcy)
        return 1;
    return sendEmcy(node, errorCode, *node->errorRegister, nullptr, 0) == 0 ? 0 : 1;
}

uint8_t clearEmcyError(NodeContext *node, uint16_t errorCode)
{
    EmcyErrorSlot *slot = findSlot(node, errorCode);
    if (slot == nullptr)
        return 1; // nothing changes, so nothing is announced
    slot->active = 0;
    if (updateRegister(node))
        return 0;
    node->emcyErrorState = 0;
    if (node->commSwitches.emcy)
        sendEmcy(node, 0, 0, nullptr, 0);
    return 0;
}

void processEmcy(NodeContext *node, const CanMessage *frame)
{
    if (frame->len != 8 || node->onEmergency == nullptr)
        return;
    node->onEmergency(node, static_cast<uint8_t>(frame->cobId & 0x7F),
                      static_cast<uint16_t>(frame->data[0] | frame->data[1] << 8), frame->data[2]);
}
