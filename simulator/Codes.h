#ifndef RVSIM_CODES_H
#define RVSIM_CODES_H

#include "ReturnCodes.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

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

inline bool finite(std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

} // namespace rvsim

#endif
