#ifndef KURVO_SHOPFLOOR_OBSERVATIONS_H
#define KURVO_SHOPFLOOR_OBSERVATIONS_H

#include "shopfloor/MachineDevice.h"

#include <mutex>
#include <optional>
#include <vector>

// A data item's change, numbered in the order the agent took it.
struct Observation
{
    quint64 sequence = 0;
    qint64 utcMs = 0;
    int item = 0;
    MachineDevice::Value value;
};

// The observations a request reads, and where they stand in the buffer.
struct ObservationWindow
{
    std::vector<Observation> observations;
    quint64 firstSequence = 0; // the oldest in the buffer
    quint64 lastSequence = 0;  // the newest in the buffer
    quint64 nextSequence = 0;  // the one to ask for next
};

// The agent's buffer: the latest changes of the data items, as many as it holds, numbered from 1
// on; and each item's current value, however old. Written by the watch's thread and read by the
// agent's.
class ObservationStore
{
public:
    // Every item starts unavailable.
    explicit ObservationStore(int capacity);

    int Capacity() const { return int(ring.size()); }
    // Which run of the agent numbered the observations: a client that sees it change starts over.
    quint64 InstanceId() const { return instanceId; }

    // Takes the values that differ from the items' current ones; returns the items taken.
    std::vector<int> Record(const MachineDevice::Values& values, qint64 utcMs);

    // Each item's latest observation, in the items' order.
    ObservationWindow Current() const;
    // At most `count` observations from sequence `from` on; nothing when `from` lies outside
    // the buffer (before its oldest, or past the next to come).
    std::optional<ObservationWindow> Sample(quint64 from, int count) const;
    // The buffer's bounds, no observations.
    ObservationWindow Bounds() const;

private:
    ObservationWindow BoundsLocked() const;

    mutable std::mutex mutex;
    std::vector<Observation> ring; // sequence s at (s - 1) % size
    std::vector<Observation> current;
    quint64 next = 1;
    const quint64 instanceId;
};

#endif
