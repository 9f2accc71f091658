#include "planner/PathRecordReader.h"

#include "planner/SimulatorInterface.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int recordCapacity = 1000000;

} // namespace

PathRecordReader::PathRecordReader(const SimulatorInterface& simulator)
    : sim(simulator)
{}

PathRecordReader::Recorded PathRecordReader::At(int index) const
{
    Recorded point;
    sim.pathPoint(index, &point.crd, &point.timeMs, point.positions);
    return point;
}

bool PathRecordReader::SameAsLastTaken(int index) const
{
    const Recorded point = At(index);
    return point.crd == lastTaken->crd && point.timeMs == lastTaken->timeMs
           && std::memcmp(point.positions, lastTaken->positions, sizeof point.positions) == 0;
}

PathRecordReader::News PathRecordReader::Take(short crd, const std::array<double, 3>& pulsesPerMm,
                                              int limit)
{
    News news;
    const int count = sim.pathCount();
    if (lastTaken && count >= recordCapacity) {
        int index = count - 1;
        while (index >= 0 && !SameAsLastTaken(index))
            --index;
        taken = index + 1;
    } else if (lastTaken && (count < taken || !SameAsLastTaken(taken - 1))) {
        news.restarted = true;
        taken = 0;
        lastTaken.reset();
    }
    const int end = std::min(count, taken + std::max(0, limit));
    news.points.reserve(std::size_t(end - taken));
    for (; taken < end; ++taken) {
        const Recorded point = At(taken);
        lastTaken = point;
        if (point.crd != crd)
            continue;
        news.points.push_back({point.positions[0] / pulsesPerMm[0],
                               point.positions[1] / pulsesPerMm[1],
                               point.positions[2] / pulsesPerMm[2]});
    }
    return news;
}
