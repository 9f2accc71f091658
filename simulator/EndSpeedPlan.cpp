#include "EndSpeedPlan.h"

#include "Hot.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace rvsim {

namespace {

// What the planner reads of a command: its first fields, up to the tangent it leaves in.
constexpr std::size_t plannedPart
    = offsetof(Command, geometry) + offsetof(Geometry, exit) + sizeof(AxisVector);

bool blocksMotion(const Command& command)
{
    return command.kind == Command::Kind::Delay
           || (command.kind == Command::Kind::Move && command.value[1] != 0);
}

// Highest path speed at which the corner from a motion leaving along `exit` into `to` keeps
// every axis's speed change within its DVMax.
double cornerSpeed(const AxisVector& exit, const Command& to)
{
    const AxisVector& in = to.geometry.entry;
    double limit = std::numeric_limits<double>::infinity();
    for (int i = 0; i < crdAxisCount; ++i) {
        const double change = std::abs(in[i] - exit[i]);
        if (change > 1e-12)
            limit = std::min(limit, to.axisDVMax[i] / change);
    }
    return limit;
}

} // namespace

double EndSpeedPlan::endSpeed(const CommandQueue& queue)
{
    const Command& front = queue.front();
    // Asked again with nothing queued since: commands leave only at the front.
    if (front.serial == anchor && queue.size() == askedWith)
        return answer;
    followFront(front);
    askedWith = queue.size();
    std::ptrdiff_t viewEnd = findViewEnd(front.vMax);
    while (viewEnd < 0 && takeNext(queue, front.serial)) {
        if (endsView(std::ptrdiff_t(steps.size()) - 1, front.vMax))
            viewEnd = std::ptrdiff_t(steps.size()) - 1;
    }
    viewCut = viewEnd < 0 && !blocked;
    if (steps.empty()) {
        answer = 0;
        return answer;
    }
    const bool open = viewEnd >= 0;
    workBack(open ? viewEnd : std::ptrdiff_t(steps.size()) - 1, open);
    answer = steps.front().limit;
    return answer;
}

void EndSpeedPlan::followFront(const Command& front)
{
    if (front.serial == anchor)
        return;
    while (!steps.empty() && steps.front().serial < front.serial)
        popStep();
    if (steps.empty() || steps.front().serial != front.serial) {
        restartAt(front);
        return;
    }
    anchor = front.serial;
    anchorReach = steps.front().reach;
    popStep();
}

void EndSpeedPlan::restartAt(const Command& front)
{
    steps.clear();
    anchor = front.serial;
    anchorReach = 0;
    lastExit = front.geometry.exit;
    units = front.pulsesPerUnit;
    lastTaken = front.serial;
    blocked = false;
    accelerationChanges = 0;
    limitsEnd = -1;
}

void EndSpeedPlan::popStep()
{
    const double acc = steps.front().acc;
    steps.pop_front();
    if (!steps.empty() && steps.front().acc != acc)
        --accelerationChanges;
    limitsEnd = std::max<std::ptrdiff_t>(-1, limitsEnd - 1);
}

bool EndSpeedPlan::takeNext(const CommandQueue& queue, int64_t frontSerial)
{
    while (!blocked) {
        const std::size_t index = std::size_t(lastTaken + 1 - frontSerial);
        if (index >= queue.size())
            return false;
        const Command& next = queue[index];
        // The one after it was written thousands of commands ago, out of the cache by now.
        if (index + 1 < queue.size())
            prefetch(&queue[index + 1], plannedPart);
        ++lastTaken;
        if (next.kind != Command::Kind::Motion) {
            blocked = blocksMotion(next);
            continue;
        }
        if (!next.lookAhead || next.pulsesPerUnit != units) {
            blocked = true;
            break;
        }
        if (!steps.empty() && steps.back().acc != next.acc)
            ++accelerationChanges;
        const double reach
            = (steps.empty() ? anchorReach : steps.back().reach) + next.geometry.length;
        const double cap = std::min(cornerSpeed(lastExit, next), next.vMax);
        steps.push_back({next.serial, cap, comparableSquare(cap), next.acc,
                         2 * next.acc * next.geometry.length, reach, 0});
        lastExit = next.geometry.exit;
        return true;
    }
    return false;
}

bool EndSpeedPlan::endsView(std::ptrdiff_t index, double frontVMax) const
{
    const Step& step = steps[std::size_t(index)];
    return compareRoot(2 * step.acc * (step.reach - anchorReach), frontVMax) >= 0
           || index + 1 >= longestView;
}

// The first step at which the view ends, -1 when none of the steps taken ends it. With one
// acceleration throughout, whether a step ends the view only grows along the steps: it is looked
// for outwards from where the last view ended, in doubling strides, then by halves. The front's
// top speed mostly is the one before, so the view ends there or a step on.
std::ptrdiff_t EndSpeedPlan::findViewEnd(double frontVMax) const
{
    const std::ptrdiff_t count
        = std::min<std::ptrdiff_t>(std::ptrdiff_t(steps.size()), longestView);
    std::ptrdiff_t first = 0; // no step before it ends the view
    if (accelerationChanges == 0 && count > 0) {
        std::ptrdiff_t below = count; // it ends the view, or none does when it is the count
        const std::ptrdiff_t hint = std::clamp<std::ptrdiff_t>(limitsEnd, 0, count - 1);
        std::ptrdiff_t stride = 1;
        if (endsView(hint, frontVMax)) {
            below = hint;
            for (; below - stride >= 0 && endsView(below - stride, frontVMax); stride *= 2)
                below -= stride;
            first = std::max<std::ptrdiff_t>(0, below - stride + 1);
        } else {
            first = hint + 1;
            for (; first + stride - 1 < count && !endsView(first + stride - 1, frontVMax);
                 stride *= 2)
                first += stride;
            below = std::min(count, first + stride - 1);
        }
        while (first < below) {
            const std::ptrdiff_t middle = first + (below - first) / 2;
            if (endsView(middle, frontVMax))
                below = middle;
            else
                first = middle + 1;
        }
    } else {
        while (first < count && !endsView(first, frontVMax))
            ++first;
    }
    return first < count ? first : -1;
}

// The limits from `viewEnd` back to the front, beyond it a free speed when `open`, else a stop.
// Limits already worked back stay once a new one equals them: all before follow from it alike.
void EndSpeedPlan::workBack(std::ptrdiff_t viewEnd, bool open)
{
    if (viewEnd == limitsEnd && open == limitsOpen)
        return;
    double v = open ? std::numeric_limits<double>::infinity() : 0;
    for (std::ptrdiff_t index = viewEnd; index >= 0; --index) {
        Step& step = steps[std::size_t(index)];
        v = minOfRoot(step.cap, step.capSquared, v * v + step.rise);
        if (index <= limitsEnd && step.limit == v)
            break;
        step.limit = v;
    }
    limitsEnd = viewEnd;
    limitsOpen = open;
}

} // namespace rvsim
