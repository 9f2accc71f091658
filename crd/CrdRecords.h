#ifndef KURVO_CRDRECORDS_H
#define KURVO_CRDRECORDS_H

#include "controller/rvAPI.h"
#include "module/HostTypes.h"

#include <QString>

#include <cstdint>

// The form's working copy of every coordinate-system and parameter-tree value. Arrays of axis
// values hold X, Y, Z, A, C in entries 0 to 4.
struct CrdFormParams
{
    short dimension = 0;
    double synVelMax = 0;
    double synAccMax = 0;
    short evenTime = 0;
    short setOriginFlag = 0;
    double originPos[5] = {};
    QString LookAheadMode;
    double T = 0, N = 0, RadiusRatio = 0, Jerk = 0, AccTime = 0, DccAngle = 0;
    double VMax[8] = {};
    double AMax[8] = {};
    double DVMax[8] = {};
    double Scale[8] = {};
    double FollowRatio = 0;
    short FollowSource = 0;
    double PowerMax = 0, PowerMin = 0;
    short DMA = 0;
    short Link = 0, Threhold = 0, lookAheadInMc = 0;
    short contourEnable = 0;
    double Kp = 0;
};

// The host's axis table covers cores and profiles 1 to 16.
constexpr int highestHostCore = HostAxisTable::cores;
constexpr int highestHostProfile = HostAxisTable::profiles;

// Whether the host's axis table has a row for the core and a column for the profile.
inline bool HostCovers(int core, int profile)
{
    return core >= 1 && core <= highestHostCore && profile >= 1 && profile <= highestHostProfile;
}

// The cores the window offers of those the host reports: no more than its axis table holds.
inline int OfferedCoreCount(const CrdResourceRecord& host)
{
    return host.coreCount < highestHostCore ? host.coreCount : highestHostCore;
}

// Conversion factors of one core and profile (both in range); 1 without a host table.
struct HostFactors
{
    double pulsesPerMm = 1;
    double velocity = 1;
    double acceleration = 1;
};
// Inline, so that a caller that needs one factor reads only that one: the status timer reads
// the pulses of its axes 100 times a second.
inline HostFactors FactorsOf(const HostAxisTable* table, int core, int profile)
{
    if (!table)
        return HostFactors();
    return HostFactors{table->pulsesPerMm[core - 1][profile - 1],
                       table->velocityFactor[core - 1][profile - 1],
                       table->accelerationFactor[core - 1][profile - 1]};
}

// Whether every factor is a number within that range: anything else would send positions and
// speeds of 0, of the wrong sign or beyond any range.
bool UsableFactors(const HostFactors& factors);

// Why a coordinate-system record could not be built.
enum class CrdRecordProblem {
    None,
    CoreOutOfRange,
    ProfileOutOfRange,
    UnusableHostFactors,
    UnconvertibleSpeeds,
    SpanTooLarge
};

struct CrdRecordOutcome
{
    CrdRecordProblem problem = CrdRecordProblem::None;
    int axis = -1;     // the axis (0 = X) whose profile is out of range or has unusable factors
    short mapBase = 0; // the lowest profile of the coordinate system's axes
};

// Fills `prm` (zeroed first) from the parameters, the profile number of each axis (0 when its
// choice holds none) and the core, converting speeds and origins with the host's factors. The
// profiles of the first `dimension` axes may span at most 8; a later axis on the same profile
// wins. A core or profile the host table does not cover, or unusable factors of an axis read,
// stop the build.
CrdRecordOutcome BuildCrdRecord(const CrdFormParams& params, const int (&profiles)[5], int core,
                                const HostAxisTable* table, CrdPrm& prm);

// The look-ahead record of the parameters: per-axis entries 0 to 4 fed, the rest zero.
LookAheadPrmEx BuildLookAheadRecord(const CrdFormParams& params);

// Truncation toward zero, saturated to the 32-bit range; not-a-number gives 0.
int32_t TruncateToInt32(double value);

#endif
