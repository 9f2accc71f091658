#ifndef KURVO_SIMULATOR_LOOKAHEADCRD_H
#define KURVO_SIMULATOR_LOOKAHEADCRD_H

#include "rvAPI.h"

#include <cstring>
#include <initializer_list>

// A coordinate system with look-ahead, set up through the controller interface as the dry run,
// the tests and the benchmarks need one.
struct LookAheadCrd
{
    short dimension = 3;
    double synVelMax = 1000; // pulse/ms
    double synAccMax = 100;  // pulse/ms^2
    int held = 200;          // segments the look-ahead holds back
    double vMax = 1000;      // per axis, mm/s
    double aMax = 10000;     // per axis, mm/s^2
    double dvMax = 5;        // per axis, mm/s
    double scale = 1000;     // pulses per mm
};

// Sets coordinate system 1 of core 1 up on profiles 1 on, one per axis; returns the first
// code that was not 0, or 0.
inline short SetUpLookAheadCrd(const LookAheadCrd& crd)
{
    CrdPrm prm;
    std::memset(&prm, 0, sizeof prm);
    prm.dimension = crd.dimension;
    for (short axis = 0; axis < crd.dimension; ++axis)
        prm.profile[axis] = short(axis + 1);
    prm.synVelMax = crd.synVelMax;
    prm.synAccMax = crd.synAccMax;
    LookAheadPrmEx la;
    std::memset(&la, 0, sizeof la);
    la.N = crd.held;
    la.T = 1;
    for (int axis = 0; axis < 5; ++axis) {
        la.VMax[axis] = crd.vMax;
        la.AMax[axis] = crd.aMax;
        la.DVMax[axis] = crd.dvMax;
        la.Scale[axis] = crd.scale;
    }
    for (short code : {MQN_SetCrdPrm(1, 1, &prm), MQN_SetupLookAheadCrd(1, 1, 0),
                       MQN_InitLookAheadEx(1, 1, &la, 0, 0, 0)}) {
        if (code != 0)
            return code;
    }
    return 0;
}

#endif
