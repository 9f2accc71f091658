#ifndef RVSIM_RING_H
#define RVSIM_RING_H

#include <cstddef>
#include <utility>
#include <vector>

namespace rvsim {

// Items in order, joining at the back and leaving at the front, in a ring that grows by doubling:
// a buffer passes millions of commands through without allocating for each, as a deque of items
// this large would. Its size stays a power of two, so a place is found with a mask.
template <typename Item> class Ring
{
public:
    bool empty() const { return count == 0; }
    std::size_t size() const { return count; }
    void clear()
    {
        first = 0;
        count = 0;
    }

    Item& front() { return ring[first]; }
    const Item& front() const { return ring[first]; }
    Item& back() { return (*this)[count - 1]; }
    const Item& back() const { return (*this)[count - 1]; }
    Item& operator[](std::size_t index) { return ring[(first + index) & (ring.size() - 1)]; }
    const Item& operator[](std::size_t index) const
    {
        return ring[(first + index) & (ring.size() - 1)];
    }

    void push_back(Item&& item)
    {
        if (count == ring.size())
            grow();
        ring[(first + count) & (ring.size() - 1)] = std::move(item);
        ++count;
    }

    void pop_front()
    {
        first = (first + 1) & (ring.size() - 1);
        --count;
    }

private:
    void grow()
    {
        std::vector<Item> larger(ring.empty() ? 64 : 2 * ring.size());
        for (std::size_t index = 0; index < count; ++index)
            larger[index] = std::move((*this)[index]);
        ring = std::move(larger);
        first = 0;
    }

    std::vector<Item> ring;
    std::size_t first = 0;
    std::size_t count = 0;
};

} // namespace rvsim

#endif
