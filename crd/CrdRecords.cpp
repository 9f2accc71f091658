#include "crd/CrdRecords.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr int axisCount = 5;
constexpr int widestSpan = 8;

} // namespace

bool UsableFactors(const HostFactors& factors)
{
    for (double factor : {factors.pulsesPerMm, factors.velocity, factors.acceleration}) {
        if (!(factor >= smallestFactor && factor <= largestFactor))
            return false;
    }
    return true;
}

int32_t TruncateToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    const double truncated = std::trunc(value);
    if (truncated <= double(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (truncated >= double(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return int32_t(truncated);
}

CrdRecordOutcome BuildCrdRecord(const CrdFormParams& params, const int (&profiles)[5], int core,
                                const HostAxisTable* table, CrdPrm& prm)
{
    std::memset(&prm, 0, sizeof prm);
    prm.dimension = params.dimension;
    prm.evenTime = params.evenTime;

    CrdRecordOutcome outcome;
    if (!HostCovers(core, 1)) {
        outcome.problem = CrdRecordProblem::CoreOutOfRange;
        return outcome;
    }
    // The axes whose profile is read: the coordinate system's, X for the speeds, and with an
    // origin every axis for its position.
    const int mapped = std::clamp<int>(params.dimension, 0, axisCount);
    const int checked = params.setOriginFlag ? axisCount : std::max(mapped, 1);
    for (int axis = 0; axis < checked; ++axis) {
        if (!HostCovers(core, profiles[axis])) {
            outcome.problem = CrdRecordProblem::ProfileOutOfRange;
            outcome.axis = axis;
            return outcome;
        }
        if (!UsableFactors(FactorsOf(table, core, profiles[axis]))) {
            outcome.problem = CrdRecordProblem::UnusableHostFactors;
            outcome.axis = axis;
            return outcome;
        }
    }

    int lowest = profiles[0];
    int highest = profiles[0];
    for (int axis = 1; axis < mapped; ++axis) {
        lowest = std::min(lowest, profiles[axis]);
        highest = std::max(highest, profiles[axis]);
    }
    if (highest - lowest >= widestSpan) {
        outcome.problem = CrdRecordProblem::SpanTooLarge;
        return outcome;
    }
    outcome.mapBase = short(lowest);
    for (int axis = 0; axis < mapped; ++axis)
        prm.profile[profiles[axis] - lowest] = short(axis + 1);

    const HostFactors x = FactorsOf(table, core, profiles[0]);
    prm.synVelMax = params.synVelMax * x.velocity;
    prm.synAccMax = params.synAccMax * x.acceleration;
    if (!std::isfinite(prm.synVelMax) || !std::isfinite(prm.synAccMax)) {
        outcome.problem = CrdRecordProblem::UnconvertibleSpeeds;
        outcome.axis = 0;
        return outcome;
    }
    if (params.setOriginFlag) {
        prm.setOriginFlag = 1;
        for (int axis = 0; axis < axisCount; ++axis) {
            const double factor = FactorsOf(table, core, profiles[axis]).pulsesPerMm;
            prm.originPos[axis] = TruncateToInt32(params.originPos[axis] * factor);
        }
    }
    return outcome;
}

LookAheadPrmEx BuildLookAheadRecord(const CrdFormParams& params)
{
    LookAheadPrmEx record;
    std::memset(&record, 0, sizeof record);
    record.N = TruncateToInt32(params.N);
    record.T = params.T;
    record.RadiusRatio = params.RadiusRatio;
    for (int axis = 0; axis < axisCount; ++axis) {
        record.VMax[axis] = params.VMax[axis];
        record.AMax[axis] = params.AMax[axis];
        record.DVMax[axis] = params.DVMax[axis];
        record.Scale[axis] = params.Scale[axis];
    }
    const short axisMap[8] = {1, 2, 3, 4, 5, 6, 0, 0};
    std::copy(std::begin(axisMap), std::end(axisMap), record.axisMap);
    return record;
}
