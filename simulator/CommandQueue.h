#ifndef RVSIM_COMMANDQUEUE_H
#define RVSIM_COMMANDQUEUE_H

#include "Command.h"
#include "Ring.h"

#include <cstddef>

namespace rvsim {

// A FIFO's commands in one ring: first those the FIFO holds, the one executing at the front,
// then the look-ahead forms waiting for the planner. A command passes from the look-ahead into
// the FIFO by a count, not by a copy.
class CommandQueue
{
public:
    // Neither held nor waiting.
    bool empty() const { return ring.empty(); }
    // Held and waiting.
    std::size_t size() const { return ring.size(); }
    // From the front on, the waiting ones after those held.
    const Command& operator[](std::size_t index) const { return ring[index]; }

    std::size_t held() const { return heldCount; }
    std::size_t waiting() const { return ring.size() - heldCount; }

    // The front of the FIFO; only while it holds any.
    Command& front() { return ring.front(); }
    const Command& front() const { return ring.front(); }
    void popFront()
    {
        ring.pop_front();
        --heldCount;
    }

    // Room for `capacity` commands held and waiting.
    void reserve(std::size_t capacity) { ring.reserve(capacity); }
    // Where the command that joins next is made, holding what was there before, which its maker
    // writes over whole: made where it is kept, a command costs no copy on its way in. It joins
    // at the back, waiting, with push(); unless pushed, the next stage() gives the place again.
    Command& stage() { return ring.next(); }
    void push() { ring.pushNext(); }
    // The first waiting command joins the FIFO.
    void admitNext() { ++heldCount; }

    void clear()
    {
        ring.clear();
        heldCount = 0;
    }

private:
    Ring<Command> ring;
    std::size_t heldCount = 0;
};

} // namespace rvsim

#endif
