#ifndef RVSIM_COMMANDQUEUE_H
#define RVSIM_COMMANDQUEUE_H

#include "Command.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace rvsim {

// Commands in order, joining at the back and leaving at the front, in a ring that grows by
// doubling: a buffer passes millions of commands through without allocating for each, as a
// deque of commands this large would.
class CommandQueue
{
public:
    bool empty() const { return count == 0; }
    std::size_t size() const { return count; }
    void clear()
    {
        first = 0;
        count = 0;
    }

    Command& front() { return ring[first]; }
    const Command& front() const { return ring[first]; }
    const Command& operator[](std::size_t index) const
    {
        return ring[(first + index) % ring.size()];
    }

    void push_back(Command&& command)
    {
        if (count == ring.size())
            grow();
        ring[(first + count) % ring.size()] = std::move(command);
        ++count;
    }

    void pop_front()
    {
        first = (first + 1) % ring.size();
        --count;
    }

private:
    void grow()
    {
        std::vector<Command> larger(ring.empty() ? 64 : 2 * ring.size());
        for (std::size_t index = 0; index < count; ++index)
            larger[index] = std::move(ring[(first + index) % ring.size()]);
        ring = std::move(larger);
        first = 0;
    }

    std::vector<Command> ring;
    std::size_t first = 0;
    std::size_t count = 0;
};

} // namespace rvsim

#endif
