#ifndef KURVO_WORKBENCH_FRAMEJOB_H
#define KURVO_WORKBENCH_FRAMEJOB_H

#include "planner/FrameProgram.h"
#include "planner/MachineObservation.h"
#include "workbench/FormProbe.h"

#include <QMetaObject>
#include <QObject>

class Workbench;

// Frames the program the operator window holds: traces its box or outline with the laser off,
// as a program of its own loaded into the window, planned (its lead-in from where the machine
// stands), then started; once that job ends, the framed program is back in the window.
class FrameJob : public QObject
{
    Q_OBJECT

public:
    FrameJob(Workbench& workbench, FrameMotion motion);

    // False, said in the output pane, when there is nothing to frame or a job runs.
    bool Frame(FrameShape shape);
    // Program ▸ Frame, Program ▸ Frame outline, and Frame on the machine's toolbar.
    void AddActions();

private:
    void Observe(const MachineObservation& seen);
    std::array<double, 3> WindowOriginMm(const FormReading& form) const;
    bool Refuse(const QString& why);

    Workbench& workbench;
    const FrameMotion motion;
    FormProbe probe;
    QString framed; // the program to put back once the frame's job ends; empty when none
    bool frameRan = false;
    QMetaObject::Connection startWhenPlanned;
};

#endif
