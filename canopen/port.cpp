// Port slots and the driver table. Each open port has a receive thread that
// hands every frame the driver delivers to the dispatcher under the stack lock.
#include "canopen/port.h"

#include "canopen/dispatch.h"
#include "canopen/port_thread.h"
#include "canopen/stack_lock.h"

#include <cstdio>
#include <vector>

CanDriver canDriver = {nullptr, nullptr, nullptr, nullptr, nullptr};
CanPortSlot canPortSlots[kCanPortSlots];

namespace {

void canReceiveThread(void *argument)
{
    CanPortSlot *slot = static_cast<CanPortSlot *>(argument);
    std::vector<CanMessage> frames(kCanReceiveBatch);
    while (slot->inUse.load() != 0) {
        const uint8_t n = canDriver.receive(slot->handle, frames.data());
        for (int i = 0; i < n && i < kCanReceiveBatch; ++i) {
            StackLockGuard guard;
            dispatchCanMessage(slot->node, &frames[static_cast<size_t>(i)]);
        }
    }
}

} // namespace

CanPortSlot *openCanPort(const BoardSpec *spec, NodeContext *node)
{
    closeCanPort(node);
    CanPortSlot *slot = nullptr;
    for (CanPortSlot &candidate : canPortSlots) {
        if (candidate.inUse.load() == 0 && !candidate.receiveThread.joinable()) {
            slot = &candidate;
            break;
        }
    }
    CanHandle handle = nullptr;
    if (slot != nullptr && canDriver.open != nullptr)
        handle = canDriver.open(spec);
    if (handle == nullptr) {
        std::printf("CanOpen : Cannot open board {busname='%s',baudrate='%s'}\n",
                    spec->busName != nullptr ? spec->busName : "",
                    spec->baudRate != nullptr ? spec->baudRate : "");
        std::fflush(stdout);
        return nullptr;
    }
    slot->handle = handle;
    slot->node = node;
    slot->inUse.store(1);
    {
        StackLockGuard guard;
        node->port = slot;
    }
    startPortThread(&slot->receiveThread, canReceiveThread, slot);
    return slot;
}

int closeCanPort(NodeContext *node)
{
    // While an LSS bit-rate switch runs, the node's port is held detached; it is
    // still the node's to close. Both references go under the lock, so no service
    // or alarm sends through, or switches the rate of, a handle being closed.
    CanPortSlot *slot = nullptr;
    {
        StackLockGuard guard;
        slot = node->port != nullptr ? node->port : node->lssKeptPort;
        if (slot == nullptr)
            return 0;
        node->port = nullptr;
        if (node->lssKeptPort == slot)
            node->lssKeptPort = nullptr;
    }
    slot->inUse.store(0);
    // The driver's close wakes a receive that is waiting on the port, so the
    // receive thread sees inUse 0 at once and can be joined.
    const int result = canDriver.close != nullptr ? canDriver.close(slot->handle) : 0;
    stopPortThread(&slot->receiveThread);
    slot->handle = nullptr;
    slot->node = nullptr;
    return result;
}

uint8_t changeCanBaudRate(CanPortSlot *port, const char *rate)
{
    if (port == nullptr || canDriver.changeBaudRate == nullptr)
        return 1;
    return canDriver.changeBaudRate(port->handle, rate);
}

uint8_t canSend(CanPortSlot *port, const CanMessage *frame)
{
    if (port == nullptr || canDriver.send == nullptr)
        return 1;
    return canDriver.send(port->handle, frame);
}

uint8_t idleCanPort(CanPortSlot *)
{
    return 0;
}
