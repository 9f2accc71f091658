#ifndef RVSIM_RING_H
#define RVSIM_RING_H

#include <cstddef>
#include <utility>
#include <vector>

namespace rvsim {

// Items in order, joining at the back and leaving at the front, in a ring that grows by doubling:
// a buffer passes millions of commands through without allocating for each, as a deque of items
// this large would. Sized to what a full buffer holds, a ring writes each new item where the
// front just left, a place still in the cache.
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
    // Room for `capacity` items at least, without growing again.
    void reserve(std::size_t capacity)
    {
        if (capacity > ring.size())
            resize(capacity);
    }

    Item& front() { return ring[first]; }
    const Item& front() const { return ring[first]; }
    Item& back() { return (*this)[count - 1]; }
    const Item& back() const { return (*this)[count - 1]; }
    Item& operator[](std::size_t index) { return ring[place(index)]; }
    const Item& operator[](std::size_t index) const { return ring[place(index)]; }

    void push_back(Item&& item)
    {
        next() = std::move(item);
        ++count;
    }

    // Where the next item joins, as it was left: an item written there in place joins with
    // pushNext(), unless another is taken there first.
    Item& next()
    {
        if (count == ring.size())
            resize(ring.empty() ? 64 : 2 * ring.size());
        return ring[place(count)];
    }
    void pushNext() { ++count; }

    void pop_front()
    {
        first = place(1);
        --count;
    }

private:
    // Where the item `index` places after the front lies: `first` and `index` are each below the
    // ring's size, so one wrap at most.
    std::size_t place(std::size_t index) const
    {
        const std::size_t at = first + index;
        return at < ring.size() ? at : at - ring.size();
    }

    void resize(std::size_t capacity)
    {
        std::vector<Item> larger(capacity);
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
