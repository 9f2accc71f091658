#ifndef KURVO_PLANNER_MACHINEOBSERVATION_H
#define KURVO_PLANNER_MACHINEOBSERVATION_H

#include "planner/PathPlot.h"
#include "planner/RunProgress.h"

#include <QString>

#include <optional>

// One look of the workbench's watch at the machine, whole, for those who report it elsewhere.
struct MachineObservation
{
    bool windowOpen = false; // without the operator window nothing else is known
    QString program;         // the program the window streams at Start; empty for its table
    bool lookAheadOpen = false;
    RunFigures figures;
    std::optional<PathPoint3> position; // in mm; unknown when the controller does not tell
    short controllerCode = 0;           // the controller's answer to the status look; 0: well
    double nowMs = 0;                   // of a steady clock
};

#endif
