#ifndef RVSIM_HOT_H
#define RVSIM_HOT_H

// Marks the functions a status query of an idle controller runs through. The compiler puts them
// side by side, so that a window polling an idle controller every 10 ms finds them in a few pages
// of code: after 10 ms of other work those pages have gone cold, and each one the query touches
// costs a page walk.
#if defined(__GNUC__)
#define RVSIM_HOT __attribute__((hot))
#else
#define RVSIM_HOT
#endif

#include <cstddef>

namespace rvsim {

// Asks for the `size` bytes at `at` to be brought into the cache ahead of their reading, where
// the compiler can say so.
inline void prefetch([[maybe_unused]] const void* at, [[maybe_unused]] std::size_t size)
{
#if defined(__GNUC__)
    constexpr std::size_t cacheLine = 64;
    const char* const first = static_cast<const char*>(at);
    for (std::size_t offset = 0; offset < size; offset += cacheLine)
        __builtin_prefetch(first + offset);
    // The bytes need not start on a line of their own.
    __builtin_prefetch(first + size - 1);
#endif
}

} // namespace rvsim

#endif
