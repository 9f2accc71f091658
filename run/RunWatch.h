#ifndef KURVO_RUNWATCH_H
#define KURVO_RUNWATCH_H

#include <QTime>

// The run's begin and end as the status timer sees the run state, and how long the run took.
// The clock is read only when the run begins or ends: reading the time of day is the dearest
// part of an idle tick.
class RunWatch
{
public:
    enum class Change { None, Began, Ended };

    explicit RunWatch(QTime (*clock)() = &QTime::currentTime)
        : clock(clock)
    {}

    // Takes the run state (1 running) seen after `previousRun` the tick before.
    Change Observe(int previousRun, int run);
    // The milliseconds from the begin to the end of the run that ended last; a run past
    // midnight counts on into the next day.
    int ElapsedMs() const;

private:
    QTime (*clock)();
    QTime begin;
    QTime end;
};

#endif
