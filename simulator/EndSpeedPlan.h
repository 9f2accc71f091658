#ifndef RVSIM_ENDSPEEDPLAN_H
#define RVSIM_ENDSPEEDPLAN_H

#include "CommandQueue.h"
#include "Ring.h"

#include <cstddef>

namespace rvsim {

// The speed at which the look-ahead lets the motion at the front of a FIFO end: the highest from
// which every corner and every segment's own limit ahead can still be met by braking. It looks
// ahead until the way covered would let the front's top speed brake to a stop (taken as free
// beyond), over at most 4096 motions, or up to a command the motion must stop for.
//
// Kept from one front to the next: the motions ahead, their corners and the speeds worked back
// stay; a new end of the view is worked back only as far as it changes anything, so a segment
// costs a few steps however far the planner looks.
class EndSpeedPlan
{
public:
    // `queue` is a FIFO's, the front motion first.
    double endSpeed(const CommandQueue& queue);
    // Whether the last view ended at the end of the queue, short of where the front could
    // brake: more commands queued would change the plan. Asking the same front again once they
    // are gives what asking once would have.
    bool cutShort() const { return viewCut; }

private:
    static constexpr std::ptrdiff_t longestView = 4096;

    struct Step
    {
        int64_t serial;
        // The highest speed at its start by its corner and its own limit, and that squared as
        // minOfRoot compares it: each new view end works steps back anew.
        double cap, capSquared;
        double acc;
        double rise;  // 2 * acc * length: what braking over it adds to a speed's square
        double reach; // the length of the motions from the plan's first up to this one's end
        double limit; // the highest speed at this motion's start
    };

    void followFront(const Command& front);
    void restartAt(const Command& front);
    void popStep();
    // Takes in the next command; false when none is left or the view cannot pass it.
    bool takeNext(const CommandQueue& queue, int64_t frontSerial);
    bool endsView(std::ptrdiff_t index, double frontVMax) const;
    std::ptrdiff_t findViewEnd(double frontVMax) const;
    void workBack(std::ptrdiff_t viewEnd, bool open);

    Ring<Step> steps;    // the motions after the front, in order
    int64_t anchor = -1; // the serial of the front they follow
    double anchorReach = 0;
    AxisVector lastExit{};                  // the direction the last step leaves in
    AxisVector units{};                     // the front's pulses per path unit
    int64_t lastTaken = -1;                 // the serial of the last command looked at
    bool blocked = false;                   // the view cannot pass the last command looked at
    std::ptrdiff_t accelerationChanges = 0; // neighbouring steps of different accelerations
    std::ptrdiff_t limitsEnd = -1;          // the step the limits were worked back from, -1 none
    bool limitsOpen = false;                // whether the speed beyond it was free or a stop
    bool viewCut = false;                   // the last view ended with the queue
    std::size_t askedWith = 0;              // the queue's size when the front was last asked
    double answer = 0;                      // and what it got
};

} // namespace rvsim

#endif
