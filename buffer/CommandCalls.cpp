#include "buffer/CommandCalls.h"

bool RowSend::Covers(std::initializer_list<Axis> axes) const
{
    for (Axis axis : axes) {
        if (!factors.covered[axis])
            return false;
    }
    return true;
}

int32_t RowSend::Pulses(Axis axis) const
{
    const double coordinates[] = {v.x, v.y, v.z, v.a};
    return TruncateToInt32(coordinates[axis] * factors.axis[axis].pulsesPerMm);
}
