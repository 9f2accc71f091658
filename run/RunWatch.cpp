#include "run/RunWatch.h"

namespace {

constexpr int millisecondsPerDay = 24 * 60 * 60 * 1000;

} // namespace

RunWatch::Change RunWatch::Observe(int previousRun, int run)
{
    if (run == 1 && previousRun == 0) {
        begin = end = clock();
        return Change::Began;
    }
    if (run == 0 && previousRun == 1) {
        end = clock();
        return Change::Ended;
    }
    return Change::None;
}

int RunWatch::ElapsedMs() const
{
    int elapsed = begin.msecsTo(end);
    if (elapsed < 0)
        elapsed += millisecondsPerDay;
    return elapsed;
}
