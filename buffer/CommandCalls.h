#ifndef KURVO_COMMANDCALLS_H
#define KURVO_COMMANDCALLS_H

#include "buffer/BufRowValues.h"
#include "crd/CrdRecords.h"

// Where buffered commands go.
struct ControllerAddress
{
    short core;
    short crd;
    short fifo;
};

// The host's factors of the coordinate-system axes X, Y, Z, A, C of one send; an axis whose
// core or profile the host's table does not cover has none.
struct AxisFactorSet
{
    HostFactors axis[5];
    bool covered[5] = {};
};

// The power-follow values the laser-on rows send.
struct LaserFollow
{
    short source;
    double ratio;
    double powerMin;
    double powerMax;
};

// Buffers one linear or arc row: its Ex form, as entered, with look-ahead open, else its plain
// form in pulses through the host's factors. Returns the controller's code, or 7 without a
// call when a factor it needs is missing.
short SendMotionRow(const QString& type, const BufRowValues& values, bool lookAheadOpen,
                    const ControllerAddress& to, const AxisFactorSet& factors);

// Buffers one I/O or auxiliary row; returns the code of its last call (0 when it sends none).
short SendAuxiliaryRow(const QString& type, const BufRowValues& values, bool lookAheadOpen,
                       const ControllerAddress& to, const LaserFollow& laser);

#endif
