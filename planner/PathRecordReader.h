#ifndef KURVO_WORKBENCH_PATHRECORDREADER_H
#define KURVO_WORKBENCH_PATHRECORDREADER_H

#include "planner/PathPlot.h"

#include <array>
#include <optional>
#include <vector>

struct SimulatorInterface;

// Takes the points the virtual controller recorded since the last look, of one coordinate
// system, in millimetres. The record keeps its latest million points: once full, the new points
// are those after the last one taken.
class PathRecordReader
{
public:
    explicit PathRecordReader(const SimulatorInterface& simulator);

    struct News
    {
        std::vector<PathPoint3> points;
        bool restarted = false; // the record was cleared: what was taken before is gone
    };
    // At most `limit` points a call, so that a long record is taken over several.
    News Take(short crd, const std::array<double, 3>& pulsesPerMm, int limit);

private:
    struct Recorded
    {
        short crd = 0;
        double timeMs = 0;
        double positions[5] = {};
    };
    Recorded At(int index) const;
    bool SameAsLastTaken(int index) const;

    const SimulatorInterface& sim;
    int taken = 0;
    std::optional<Recorded> lastTaken;
};

#endif
