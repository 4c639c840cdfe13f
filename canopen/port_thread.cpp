// Starting and joining the stack's threads. Each thread's owner asks it to
// end through the thread's own wake-up condition before joining it here.
#include "canopen/port_thread.h"

void startPortThread(std::thread *holder, PortThreadRoutine routine, void *argument)
{
    *holder = std::thread(routine, argument);
}

void stopPortThread(std::thread *holder)
{
    if (!holder->joinable())
        return;
    if (holder->get_id() == std::this_thread::get_id()) {
        holder->detach(); // a thread that stops itself just ends on return
        return;
    }
    holder->join();
}
