#include "run/StatusSnapshot.h"

#include "controller/rvAPI.h"
#include "crd/CrdRecords.h"

#include <cmath>
#include <iterator>

StatusSnapshot TakeStatusSnapshot(const ControllerAddress& at, int dimension,
                                  const int (&profiles)[5], const HostAxisTable* table)
{
    StatusSnapshot snapshot;
    int32_t segment = 0;
    MQN_CrdStatus(at.core, at.crd, &snapshot.run, &segment, 0);
    MQN_GetUserSegNumWN(at.core, at.crd, &snapshot.counters[0], at.fifo);
    MQN_CrdSpace(at.core, at.crd, &snapshot.space, 0);
    MQN_GetRemainderSegNum(at.core, at.crd, &snapshot.counters[1], at.fifo);
    CrdStatusEx status{};
    snapshot.counters[2]
        = MQN_CrdStatusEx(at.core, at.crd, &status, at.fifo) == 0 ? status.runEmpty : -1;

    if (dimension < 1 || dimension > int(std::size(profiles)))
        return snapshot;
    for (int axis = dimension - 1; axis >= 0; --axis) {
        const int profile = profiles[axis];
        double pulses = 0;
        MQN_GetPrfPos(at.core, short(profile), &pulses, 1, nullptr);
        const double perMm
            = HostCovers(at.core, profile) ? FactorsOf(table, at.core, profile).pulsesPerMm : 0;
        if (std::isfinite(perMm) && perMm > 0)
            snapshot.positions[std::size_t(axis)] = pulses / perMm;
    }
    return snapshot;
}
