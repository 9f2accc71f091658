#ifndef RVSIM_CODES_H
#define RVSIM_CODES_H

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace rvsim {

constexpr short ok = 0;
constexpr short refused = 1;
constexpr short badArgument = 7;

inline bool finite(std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

} // namespace rvsim

#endif
