#ifndef RVSIM_CODES_H
#define RVSIM_CODES_H

#include "ReturnCodes.h"

#include <cmath>

namespace rvsim {

// The codes of the controller's interface, by the names the virtual controller uses.
constexpr short ok = ReturnCode::Success;
constexpr short refused = ReturnCode::Refused;
constexpr short badArgument = ReturnCode::BadArgument;

// Positions beyond this many pulses from zero are refused.
constexpr double maxTravelPulses = 1e15;
// Slower motion than this (per ms, and per ms^2) would take longer than the simulation lasts.
constexpr double slowestSpeed = 1e-9;
constexpr double slowestAcceleration = 1e-12;

// Whether every value is a number and none infinite; a fold, so that it is asked inline on the
// buffering path.
template <typename... Values> bool finite(Values... values)
{
    return (std::isfinite(double(values)) && ...);
}

} // namespace rvsim

#endif
