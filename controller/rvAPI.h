/*
 * rvAPI: the motion controller library.
 *
 * Every operation returns a 16-bit command return code, 0 on success:
 *   1 command refused (for a buffered command: the FIFO is full), 7 an argument out of range or a
 *   null out-pointer, 8 unknown command; negative codes are communication failures.
 * The first argument is the core (1-based). Most operations then take the coordinate system
 * `crd` (1-based) and end with the FIFO index `fifo` (0-based). Operations that address several
 * coordinate systems at once take a bit mask (bit crd-1) and an option word with the same layout.
 *
 * Positions reach at most 1e15 pulses from zero; a command that would leave that travel, or
 * that is slower than 1e-9 pulse/ms or 1e-12 pulse/ms^2, is refused with 7.
 *
 * Units: the plain buffered commands take pulses, pulse/ms and pulse/ms^2; the "Ex" commands take
 * millimetres, mm/s and mm/s^2 and go through the look-ahead set up by MQN_InitLookAheadEx, whose
 * Scale (pulses per millimetre, per axis) converts them.
 *
 * Threads: every operation may be called from several threads at once.
 */
#ifndef RVAPI_H
#define RVAPI_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define RV_CALL __stdcall
#else
#define RV_CALL
#endif

#if defined(_WIN32)
#if defined(RVAPI_BUILD)
#define RV_EXPORT __declspec(dllexport)
#else
#define RV_EXPORT __declspec(dllimport)
#endif
#else
#define RV_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define RV_STATIC_ASSERT(condition, message) static_assert(condition, message)
extern "C" {
#else
#define RV_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

/* Resource type of coordinate systems, for MQN_GetResCount and MQN_GetResMax. */
#define RV_RES_CRD 30

/* Coordinate-system parameters. Lengths and speeds are in controller units (pulses). */
typedef struct CrdPrm
{
    short dimension;  /* number of axes, 1 to 5 */
    short profile[8]; /* entry k: axis (1 = X ... 5 = C) driven by profile mapBase + k; 0 unused */
    double synVelMax; /* maximum synthesised velocity, pulse/ms */
    double synAccMax; /* maximum synthesised acceleration, pulse/ms^2 */
    short evenTime;   /* smoothing time, ms (0 to 2000) */
    short setOriginFlag;  /* 1: originPos applies */
    int32_t originPos[8]; /* origin per axis, pulses */
} CrdPrm;

RV_STATIC_ASSERT(sizeof(CrdPrm) == 80, "CrdPrm is 80 bytes");
RV_STATIC_ASSERT(offsetof(CrdPrm, profile) == 2, "CrdPrm.profile at 2");
RV_STATIC_ASSERT(offsetof(CrdPrm, synVelMax) == 24, "CrdPrm.synVelMax at 24");
RV_STATIC_ASSERT(offsetof(CrdPrm, synAccMax) == 32, "CrdPrm.synAccMax at 32");
RV_STATIC_ASSERT(offsetof(CrdPrm, evenTime) == 40, "CrdPrm.evenTime at 40");
RV_STATIC_ASSERT(offsetof(CrdPrm, setOriginFlag) == 42, "CrdPrm.setOriginFlag at 42");
RV_STATIC_ASSERT(offsetof(CrdPrm, originPos) == 44, "CrdPrm.originPos at 44");

/* Look-ahead parameters of a coordinate system. Per-axis arrays: entry 0 = X ... 4 = C. */
typedef struct LookAheadPrmEx
{
    int32_t N;          /* segments held back by the look-ahead queue */
    double T;           /* interpolation period, ms */
    double RadiusRatio; /* arc speed reduction ratio */
    double VMax[8];     /* axis velocity limit, mm/s */
    double AMax[8];     /* axis acceleration limit, mm/s^2 */
    double DVMax[8];    /* axis velocity jump allowed at a corner, mm/s */
    double Scale[8];    /* pulses per millimetre */
    short axisMap[8];   /* coordinate-system axis of each entry, 0 unused */
} LookAheadPrmEx;

RV_STATIC_ASSERT(sizeof(LookAheadPrmEx) == 296, "LookAheadPrmEx is 296 bytes");
RV_STATIC_ASSERT(offsetof(LookAheadPrmEx, T) == 8, "LookAheadPrmEx.T at 8");
RV_STATIC_ASSERT(offsetof(LookAheadPrmEx, RadiusRatio) == 16, "LookAheadPrmEx.RadiusRatio at 16");
RV_STATIC_ASSERT(offsetof(LookAheadPrmEx, VMax) == 24, "LookAheadPrmEx.VMax at 24");
RV_STATIC_ASSERT(offsetof(LookAheadPrmEx, AMax) == 88, "LookAheadPrmEx.AMax at 88");
RV_STATIC_ASSERT(offsetof(LookAheadPrmEx, DVMax) == 152, "LookAheadPrmEx.DVMax at 152");
RV_STATIC_ASSERT(offsetof(LookAheadPrmEx, Scale) == 216, "LookAheadPrmEx.Scale at 216");
RV_STATIC_ASSERT(offsetof(LookAheadPrmEx, axisMap) == 280, "LookAheadPrmEx.axisMap at 280");

/* Errors of a learning (ILC) run, in millimetres. */
typedef struct IlcErrorRecord
{
    double maxError;
    double averageError;
    double rmsError;
} IlcErrorRecord;

RV_STATIC_ASSERT(sizeof(IlcErrorRecord) == 24, "IlcErrorRecord is three doubles");

/* Extended status of a coordinate system's FIFO. */
typedef struct CrdStatusEx
{
    short runEmpty;     /* 1 when the FIFO ran empty during the current or last run */
    short run;          /* 1 executing, 0 idle */
    int32_t completed;  /* commands completed since the last start from an empty state */
    int32_t remainder;  /* commands left in the FIFO */
    int32_t userSegNum; /* segment number of the command being executed */
} CrdStatusEx;

RV_STATIC_ASSERT(offsetof(CrdStatusEx, runEmpty) == 0, "CrdStatusEx starts with runEmpty");

/* --- Resources ---------------------------------------------------------------------------- */

/* Number of resources of type resType (RV_RES_CRD: coordinate systems of the core). */
RV_EXPORT short RV_CALL MQN_GetResCount(short core, short resType, short* count);
/* Highest index of resources of type resType (RV_RES_CRD: highest profile of the core). */
RV_EXPORT short RV_CALL MQN_GetResMax(short core, short resType, short* max);

/* --- Coordinate-system set-up -------------------------------------------------------------- */

/* Stores the coordinate-system parameters; refused with 1 while the coordinate system runs. */
RV_EXPORT short RV_CALL MQN_SetCrdPrm(short core, short crd, const CrdPrm* prm);
/* Reads back the parameters last stored (all zero before the first MQN_SetCrdPrm). */
RV_EXPORT short RV_CALL MQN_GetCrdPrm(short core, short crd, CrdPrm* prm);
/* First profile of the coordinate system's profile table (1-based). */
RV_EXPORT short RV_CALL MQN_SetCrdMapBase(short core, short crd, short base);
/* Reads the map base back. */
RV_EXPORT short RV_CALL MQN_GetCrdMapBase(short core, short crd, short* base);
/* Prepares the coordinate system for look-ahead; option is 0. */
RV_EXPORT short RV_CALL MQN_SetupLookAheadCrd(short core, short crd, short option);
/* Loads the look-ahead parameters; the three options are 0. */
RV_EXPORT short RV_CALL MQN_InitLookAheadEx(short core, short crd, const LookAheadPrmEx* prm,
                                            short option1, short option2, short option3);
/* Reads back the look-ahead parameters last loaded; option is 0. */
RV_EXPORT short RV_CALL MQN_GetLookAheadParaEx(short core, short crd, short fifo,
                                               LookAheadPrmEx* prm, short option);
/* Jerk limit of the synthesised motion, mm/s^3. */
RV_EXPORT short RV_CALL MQN_SetCrdJerk(short core, short crd, double jerk);
RV_EXPORT short RV_CALL MQN_GetCrdJerk(short core, short crd, double* jerk);
/* Contour-error control: enable 0 or 1, gain kp. */
RV_EXPORT short RV_CALL MQN_SetCrdContourErrorControl(short core, short crd, short enable,
                                                      double kp);
RV_EXPORT short RV_CALL MQN_GetCrdContourErrorControl(short core, short crd, short* enable,
                                                      double* kp);
/* Corner blending of the look-ahead: parameter type, parameter, angles in degrees. */
RV_EXPORT short RV_CALL MQN_SetBlendingParaLa(short core, short crd, short paraType, double para,
                                              double minAngle, double maxAngle);
/* Reads the blending parameters back (all zero before the first MQN_SetBlendingParaLa). */
RV_EXPORT short RV_CALL MQN_GetBlendingParaLa(short core, short crd, short* paraType, double* para,
                                              double* minAngle, double* maxAngle);

/* --- Run control and status ---------------------------------------------------------------- */

/* Moves what the look-ahead queues of the coordinate system's FIFOs hold into the FIFOs; data is
 * null, option 0. Returns 1 while a FIFO could not take everything (call again later), 0 when
 * the queues are empty. */
RV_EXPORT short RV_CALL MQN_CrdDataEx(short core, short crd, void* data, short option);
/* Starts the coordinate systems of crdMask; option bit crd-1 selects FIFO 1 instead of 0.
 * Refused with 1 when the selected FIFO is empty. */
RV_EXPORT short RV_CALL MQN_CrdStart(short core, short crdMask, short option);
/* Empties FIFO (option bit crd-1) and look-ahead queue of the coordinate systems of crdMask;
 * refused with 1 while one of them runs. */
RV_EXPORT short RV_CALL MQN_CrdClear(short core, short crdMask, short option);
/* Stops the motion of every coordinate system driving a profile of profileMask (bit p-1 for
 * profile p): option bit set = abrupt stop, clear = deceleration at the command's synAcc.
 * What remains in the FIFO stays until MQN_CrdClear; MQN_CrdStart resumes it. */
RV_EXPORT short RV_CALL MQN_Stop(short core, int32_t profileMask, int32_t option);
/* Run state (1 executing, 0 idle) and the number of commands completed. */
RV_EXPORT short RV_CALL MQN_CrdStatus(short core, short crd, short* run, int32_t* segment,
                                      short fifo);
RV_EXPORT short RV_CALL MQN_CrdStatusEx(short core, short crd, CrdStatusEx* status, short fifo);
/* Free command slots of the FIFO. */
RV_EXPORT short RV_CALL MQN_CrdSpace(short core, short crd, int32_t* space, short fifo);
/* Commands still waiting in the FIFO, the one being executed included. */
RV_EXPORT short RV_CALL MQN_GetRemainderSegNum(short core, short crd, int32_t* count, short fifo);
/* Segment number (SegNum or line number) of the command being executed, else of the last one. */
RV_EXPORT short RV_CALL MQN_GetUserSegNumWN(short core, short crd, int32_t* segNum, short fifo);
/* Planned positions, pulses, of `count` profiles from `profile` on; clock may be null. */
RV_EXPORT short RV_CALL MQN_GetPrfPos(short core, short profile, double* pos, short count,
                                      uint32_t* clock);
/* Sets `count` profiles from `profile` on to position 0; refused with 1 while one of them moves. */
RV_EXPORT short RV_CALL MQN_ZeroPos(short core, short profile, short count);

/* --- Iterative learning control ------------------------------------------------------------ */

/* Forgets what was learnt on the core. */
RV_EXPORT short RV_CALL MQN_InitIlc(short core);
/* Starts recording the coordinate system's run for learning. */
RV_EXPORT short RV_CALL MQN_StartIlc(short core, short crd);
/* Stops recording and fills the errors of the recorded run; 1 when no learning was started. */
RV_EXPORT short RV_CALL MQN_StopIlc(short core, short crd, IlcErrorRecord* error);
/* Loads a learning file (path in the local 8-bit encoding); 1 when it cannot be read. */
RV_EXPORT short RV_CALL MQN_LoadIlcFile(short core, short crd, const char* path);

/* --- Buffered commands: plain forms, pulses --------------------------------------------------
 * Each is queued in the FIFO and executed after MQN_CrdStart; 1 when the FIFO is full, 7 for an
 * impossible geometry. synVel pulse/ms, synAcc pulse/ms^2, velEnd the speed at the end of the
 * segment (pulse/ms). The G0 forms end at speed 0. Arcs: circleDir 0 clockwise, 1
 * counter-clockwise; a positive radius takes the shorter arc, a negative one the longer; the
 * centre forms take the centre as offsets from the start point. */
RV_EXPORT short RV_CALL MQN_LnXY(short core, short crd, int32_t x, int32_t y, double synVel,
                                 double synAcc, double velEnd, short fifo);
RV_EXPORT short RV_CALL MQN_LnXYG0(short core, short crd, int32_t x, int32_t y, double synVel,
                                   double synAcc, short fifo);
RV_EXPORT short RV_CALL MQN_LnXYZ(short core, short crd, int32_t x, int32_t y, int32_t z,
                                  double synVel, double synAcc, double velEnd, short fifo);
RV_EXPORT short RV_CALL MQN_LnXYZG0(short core, short crd, int32_t x, int32_t y, int32_t z,
                                    double synVel, double synAcc, short fifo);
RV_EXPORT short RV_CALL MQN_LnXYZA(short core, short crd, int32_t x, int32_t y, int32_t z,
                                   int32_t a, double synVel, double synAcc, double velEnd,
                                   short fifo);
RV_EXPORT short RV_CALL MQN_LnXYZAG0(short core, short crd, int32_t x, int32_t y, int32_t z,
                                     int32_t a, double synVel, double synAcc, short fifo);
RV_EXPORT short RV_CALL MQN_ArcXYR(short core, short crd, int32_t x, int32_t y, double radius,
                                   short circleDir, double synVel, double synAcc, double velEnd,
                                   short fifo);
RV_EXPORT short RV_CALL MQN_ArcYZR(short core, short crd, int32_t y, int32_t z, double radius,
                                   short circleDir, double synVel, double synAcc, double velEnd,
                                   short fifo);
RV_EXPORT short RV_CALL MQN_ArcZXR(short core, short crd, int32_t z, int32_t x, double radius,
                                   short circleDir, double synVel, double synAcc, double velEnd,
                                   short fifo);
RV_EXPORT short RV_CALL MQN_ArcXYC(short core, short crd, int32_t x, int32_t y, double xCenter,
                                   double yCenter, short circleDir, double synVel, double synAcc,
                                   double velEnd, short fifo);
RV_EXPORT short RV_CALL MQN_ArcYZC(short core, short crd, int32_t y, int32_t z, double yCenter,
                                   double zCenter, short circleDir, double synVel, double synAcc,
                                   double velEnd, short fifo);
RV_EXPORT short RV_CALL MQN_ArcZXC(short core, short crd, int32_t z, int32_t x, double zCenter,
                                   double xCenter, short circleDir, double synVel, double synAcc,
                                   double velEnd, short fifo);

/* --- Buffered commands: look-ahead forms, millimetres -----------------------------------------
 * Queued in the look-ahead queue of the FIFO, which passes them on to the FIFO once N more have
 * followed or MQN_CrdDataEx pushes them out. segNum is reported by MQN_GetUserSegNumWN while the
 * command executes; option is 0. The ZX forms take X first. */
RV_EXPORT short RV_CALL MQN_LnXYEx(short core, short crd, double x, double y, double synVel,
                                   double synAcc, int32_t segNum, short option, short fifo);
RV_EXPORT short RV_CALL MQN_LnXYG0Ex(short core, short crd, double x, double y, double synVel,
                                     double synAcc, int32_t segNum, short option, short fifo);
RV_EXPORT short RV_CALL MQN_LnXYZEx(short core, short crd, double x, double y, double z,
                                    double synVel, double synAcc, int32_t segNum, short option,
                                    short fifo);
RV_EXPORT short RV_CALL MQN_LnXYZG0Ex(short core, short crd, double x, double y, double z,
                                      double synVel, double synAcc, int32_t segNum, short option,
                                      short fifo);
RV_EXPORT short RV_CALL MQN_LnXYZAEx(short core, short crd, double x, double y, double z, double a,
                                     double synVel, double synAcc, int32_t segNum, short option,
                                     short fifo);
RV_EXPORT short RV_CALL MQN_LnXYZAG0Ex(short core, short crd, double x, double y, double z,
                                       double a, double synVel, double synAcc, int32_t segNum,
                                       short option, short fifo);
RV_EXPORT short RV_CALL MQN_ArcXYREx(short core, short crd, double x, double y, double radius,
                                     short circleDir, double synVel, double synAcc, int32_t segNum,
                                     short option, short fifo);
RV_EXPORT short RV_CALL MQN_ArcYZREx(short core, short crd, double y, double z, double radius,
                                     short circleDir, double synVel, double synAcc, int32_t segNum,
                                     short option, short fifo);
RV_EXPORT short RV_CALL MQN_ArcZXREx(short core, short crd, double x, double z, double radius,
                                     short circleDir, double synVel, double synAcc, int32_t segNum,
                                     short option, short fifo);
RV_EXPORT short RV_CALL MQN_ArcXYCEx(short core, short crd, double x, double y, double xCenter,
                                     double yCenter, short circleDir, double synVel, double synAcc,
                                     int32_t segNum, short option, short fifo);
RV_EXPORT short RV_CALL MQN_ArcYZCEx(short core, short crd, double y, double z, double yCenter,
                                     double zCenter, short circleDir, double synVel, double synAcc,
                                     int32_t segNum, short option, short fifo);
RV_EXPORT short RV_CALL MQN_ArcZXCEx(short core, short crd, double x, double z, double zCenter,
                                     double xCenter, short circleDir, double synVel, double synAcc,
                                     int32_t segNum, short option, short fifo);

/* --- Buffered I/O and auxiliary commands ------------------------------------------------------
 * Take effect when the run reaches them. The Ex forms pass through the look-ahead queue. */

/* Digital output: doType 10 enable, 11 clear, 12 general purpose; bits of doMask take doValue. */
RV_EXPORT short RV_CALL MQN_BufIO(short core, short crd, short doType, short doMask, short doValue,
                                  short fifo);
RV_EXPORT short RV_CALL MQN_BufIOEx(short core, short crd, short doType, short doMask,
                                    short doValue, short fifo);
/* Waits delayTime ms. */
RV_EXPORT short RV_CALL MQN_BufDelay(short core, short crd, short delayTime, short fifo);
RV_EXPORT short RV_CALL MQN_BufDelayEx(short core, short crd, short delayTime, short fifo);
/* Analogue output channel (1 to 12) to value. */
RV_EXPORT short RV_CALL MQN_BufDA(short core, short crd, short channel, short value, short fifo);
RV_EXPORT short RV_CALL MQN_BufDAEx(short core, short crd, short channel, short value, short fifo);
/* Single-axis move of profile moveAxis to pos (pulses) at vel (pulse/ms), acc (pulse/ms^2);
 * modal 1 waits for the move to end before the next command. */
RV_EXPORT short RV_CALL MQN_BufMove(short core, short crd, short moveAxis, int32_t pos, double vel,
                                    double acc, short modal, short fifo);
RV_EXPORT short RV_CALL MQN_BufMoveEx(short core, short crd, short moveAxis, double pos, double vel,
                                      double acc, short modal, short fifo);
/* Follows profile gearAxis along the coordinate system for a distance pos (pulses). */
RV_EXPORT short RV_CALL MQN_BufGear(short core, short crd, short gearAxis, int32_t pos, short fifo);
RV_EXPORT short RV_CALL MQN_BufGearEx(short core, short crd, short gearAxis, double pos,
                                      short fifo);
/* Switches the positive (limitType 0) or negative (1) limit of profile `axis` on or off. */
RV_EXPORT short RV_CALL MQN_BufLmtsOn(short core, short crd, short axis, short limitType,
                                      short fifo);
RV_EXPORT short RV_CALL MQN_BufLmtsOff(short core, short crd, short axis, short limitType,
                                       short fifo);
/* Makes input (inputType 0 to 5, inputIndex) stop profile `axis` (stopType 0 smooth, 1 abrupt). */
RV_EXPORT short RV_CALL MQN_BufSetStopIo(short core, short crd, short axis, short stopType,
                                         short inputType, short inputIndex, short fifo);
/* Laser output of channel on and off, and its power following the speed. */
RV_EXPORT short RV_CALL MQN_BufLaserOnEx(short core, short crd, short fifo, short channel);
RV_EXPORT short RV_CALL MQN_BufLaserOffEx(short core, short crd, short fifo, short channel);
/* source 0 planned profile speed, 1 encoder speed. */
RV_EXPORT short RV_CALL MQN_BufLaserFollowModeEx(short core, short crd, short source, short fifo,
                                                 short channel, double startPower);
/* Power (percent) = ratio x speed, held between powerMin and powerMax. */
RV_EXPORT short RV_CALL MQN_BufLaserFollowRatioEx(short core, short crd, double ratio,
                                                  double powerMin, double powerMax, short fifo,
                                                  short channel);
RV_EXPORT short RV_CALL MQN_BufLaserFollowOffEx(short core, short crd, short fifo, short channel);
/* Position compare output on (start) and off (stop); option is 1. */
RV_EXPORT short RV_CALL MQN_BufPosCompareStartEx(short core, short crd, short fifo, short option);
RV_EXPORT short RV_CALL MQN_BufPosCompareStopEx(short core, short crd, short fifo, short option);

#ifdef __cplusplus
}
#endif

#endif
