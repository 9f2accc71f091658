#include "run/BufferedJob.h"

void BufferedJob::Sent(JobContent sent)
{
    state = State::Sent;
    content = std::move(sent);
}

void BufferedJob::Paused()
{
    if (state == State::Sent)
        state = State::Paused;
}

void BufferedJob::Stopped()
{
    state = State::Ended;
    content = JobContent();
}

void BufferedJob::Cleared()
{
    state = State::None;
    content = JobContent();
}

BufferedJob::AtStart BufferedJob::Next(const JobContent& next, bool restInBuffer) const
{
    switch (state) {
    case State::None:
    case State::Sent:
        return AtStart::Begin;
    case State::Ended:
        return AtStart::ClearFirst;
    case State::Paused:
        if (!restInBuffer)
            return AtStart::Begin;
        return next == content ? AtStart::GoOn : AtStart::ClearFirst;
    }
    return AtStart::Begin;
}
