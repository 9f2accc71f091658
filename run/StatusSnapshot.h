#ifndef KURVO_STATUSSNAPSHOT_H
#define KURVO_STATUSSNAPSHOT_H

#include "controller/CrdAddress.h"
#include "module/HostTypes.h"

#include <array>
#include <cstdint>
#include <optional>

// One look at a coordinate system, as the status timer shows it.
struct StatusSnapshot
{
    short run = 0;
    int32_t space = 0;
    // The user's segment number, the segments remaining, and the run-empty flag (-1 unknown).
    std::array<int32_t, 3> counters{};
    // Axis X to C in millimetres; none beyond the dimension, or where the host's table has no
    // factor for the axis's profile.
    std::array<std::optional<double>, 5> positions;
};

// Reads the run state, the counters and the space of the FIFO at `at`, and the positions of the
// first `dimension` axes on their profiles (numbers from 1) through the host's factors.
StatusSnapshot TakeStatusSnapshot(const ControllerAddress& at, int dimension,
                                  const int (&profiles)[5], const HostAxisTable* table);

#endif
