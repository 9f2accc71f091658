#ifndef KURVO_WORKBENCH_SIMULATORINTERFACE_H
#define KURVO_WORKBENCH_SIMULATORINTERFACE_H

#include "simulator/rvsim.h"

// The virtual controller's test interface, found in the controller library at run time: a
// vendor's library has none, and the workbench then runs without the views that need it.
struct SimulatorInterface
{
    void (*reset)();
    void (*useManualClock)(int on);
    void (*advanceMs)(double ms);
    void (*advanceToMs)(double ms);
    double (*nowMs)();
    void (*enablePath)(int on);
    int (*pathCount)();
    short (*pathPoint)(int index, short* crd, double* timeMs, double* positions);
    int (*pathPointRapid)(int index);
    void (*clearPath)();
    double (*pathEndMs)();
    double (*timeLeftMs)(short core, short crd);
    short (*waitAsHost)(short core, short crd, short fifo, const RvsimHostWaits* waits,
                        RvsimHostWait* state);

    // The interface of the controller library beside the workbench, or null when it has none.
    static const SimulatorInterface* Find();
};

#endif
