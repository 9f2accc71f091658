#include "shopfloor/Observations.h"

#include <QDateTime>

#include <algorithm>

ObservationStore::ObservationStore(int capacity)
    : ring(std::size_t(std::max(capacity, 1)))
    , current(MachineDevice::ItemCount)
    , instanceId(quint64(QDateTime::currentSecsSinceEpoch()))
{
    MachineDevice::Values unavailable;
    for (MachineDevice::Value& value : unavailable)
        value.text = QStringLiteral("UNAVAILABLE");
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (int item = 0; item < MachineDevice::ItemCount; ++item) {
        Observation& observation = ring[std::size_t(next - 1) % ring.size()];
        observation = {next++, now, item, unavailable[std::size_t(item)]};
        current[std::size_t(item)] = observation;
    }
}

std::vector<int> ObservationStore::Record(const MachineDevice::Values& values, qint64 utcMs)
{
    std::vector<int> taken;
    std::lock_guard lock(mutex);
    for (int item = 0; item < MachineDevice::ItemCount; ++item) {
        const MachineDevice::Value& value = values[std::size_t(item)];
        if (current[std::size_t(item)].value == value)
            continue;
        Observation& observation = ring[std::size_t(next - 1) % ring.size()];
        observation = {next++, utcMs, item, value};
        current[std::size_t(item)] = observation;
        taken.push_back(item);
    }
    return taken;
}

ObservationWindow ObservationStore::BoundsLocked() const
{
    ObservationWindow window;
    window.lastSequence = next - 1;
    window.firstSequence = next > ring.size() ? next - ring.size() : 1;
    window.nextSequence = next;
    return window;
}

ObservationWindow ObservationStore::Bounds() const
{
    std::lock_guard lock(mutex);
    return BoundsLocked();
}

ObservationWindow ObservationStore::Current() const
{
    std::lock_guard lock(mutex);
    ObservationWindow window = BoundsLocked();
    window.observations = current;
    return window;
}

std::optional<ObservationWindow> ObservationStore::Sample(quint64 from, int count) const
{
    std::lock_guard lock(mutex);
    ObservationWindow window = BoundsLocked();
    if (from < window.firstSequence || from > next)
        return std::nullopt;
    const quint64 end = std::min(next, from + quint64(std::max(count, 0)));
    window.observations.reserve(std::size_t(end - from));
    for (quint64 sequence = from; sequence < end; ++sequence)
        window.observations.push_back(ring[std::size_t(sequence - 1) % ring.size()]);
    window.nextSequence = end;
    return window;
}
