#ifndef KURVO_BUFFEREDJOB_H
#define KURVO_BUFFEREDJOB_H

#include "buffer/RowSending.h"
#include "gcode/ProgramText.h"

#include <memory>
#include <vector>

// What a Start sends: the program's lines to stream, or the table's rows.
struct JobContent
{
    std::shared_ptr<const ProgramText> program;
    std::vector<TableRow> rows;

    // The same program text held once, or the same rows.
    bool operator==(const JobContent& other) const
    {
        return program == other.program && rows == other.rows;
    }
};

// The job the window's last Start put into the controller's buffer, as the next Start must know
// it. A paused job goes on where it stands rather than being sent again, which would cut the part
// a second time; one that was stopped or replaced while paused is cleared first, so that nothing
// of it runs before the new job's first command.
class BufferedJob
{
public:
    enum class AtStart {
        Begin,      // send the job
        GoOn,       // start the paused job's rest; send nothing
        ClearFirst, // clear the buffer, then send the job
    };

    void Sent(JobContent content);
    // The window's Pause: a job under way now stands paused.
    void Paused();
    // The window's Stop: whatever the buffer holds of the job must not run.
    void Stopped();
    // Cleared by the window: nothing of the job is left.
    void Cleared();

    bool IsPaused() const { return state == State::Paused; }
    // What a Start that would send `next` does, with `restInBuffer` telling whether the paused
    // job still has commands in the buffer or on their way there (asked for only while paused).
    AtStart Next(const JobContent& next, bool restInBuffer) const;

private:
    enum class State { None, Sent, Paused, Ended };
    State state = State::None;
    JobContent content;
};

#endif
