#ifndef KURVO_COMMANDCALLS_H
#define KURVO_COMMANDCALLS_H

#include "buffer/BufRowValues.h"
#include "controller/CrdAddress.h"
#include "crd/CrdRecords.h"

#include <initializer_list>

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

// One row on its way to the controller: its values, where they go, and how a plain command
// turns millimetres into pulses through the host's factors.
class RowSend
{
public:
    enum Axis { X, Y, Z, A };

    RowSend(const BufRowValues& values, const ControllerAddress& to, const AxisFactorSet& factors,
            const LaserFollow& laser)
        : v(values)
        , to(to)
        , laser(laser)
        , factors(factors)
    {}

    // Whether the host's table has usable factors for every one of `axes`.
    bool Covers(std::initializer_list<Axis> axes) const;
    // The row's coordinate of `axis` in pulses, truncated toward zero.
    int32_t Pulses(Axis axis) const;
    double Length(double mm, Axis axis) const { return mm * factors.axis[axis].pulsesPerMm; }
    double Speed(double value, Axis reference) const
    {
        return value * factors.axis[reference].velocity;
    }
    double Acceleration(Axis reference) const
    {
        return v.synAcc * factors.axis[reference].acceleration;
    }

    const BufRowValues& v;
    const ControllerAddress to;
    const LaserFollow& laser;

private:
    const AxisFactorSet& factors;
};

#endif
