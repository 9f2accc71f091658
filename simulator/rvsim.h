/*
 * Test interface of the virtual controller. Tests and benchmarks use it; the module never does.
 *
 * Power-on configuration: 1 core, 2 coordinate systems per core, 2 FIFOs per coordinate system,
 * 12 profiles per core, 4096 commands per FIFO; simulated time follows the wall clock at scale 1;
 * journal and path recording off.
 *
 * Every function may be called from any thread. Returned strings stay valid until the same
 * thread calls rvsim_journal_entry again.
 */
#ifndef RVSIM_H
#define RVSIM_H

#include "rvAPI.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Back to the power-on state: configuration, positions, buffers, records, clock, journal,
 * injections and recordings. */
RV_EXPORT void rvsim_reset(void);
/* Resets, then sizes the controller; a value below 1 keeps the power-on value. */
RV_EXPORT void rvsim_configure(int cores, int crdsPerCore, int fifosPerCrd, int profilesPerCore,
                               int fifoCapacity);

/* Journal of MQN_ calls: off at power-on; when on, keeps the latest 1,000,000 entries such as
 * "MQN_LnXY(1, 1, 12345, -1, 50, 0.0005, 0, 0)". */
RV_EXPORT void rvsim_journal_enable(int on);
RV_EXPORT int rvsim_journal_count(void);
/* Entry `index`, oldest kept entry first; null when out of range. */
RV_EXPORT const char* rvsim_journal_entry(int index);
RV_EXPORT void rvsim_journal_clear(void);

/* The next `times` calls (-1: every call) of `operation` (for example "MQN_CrdStart") return
 * `code` without effect. A later call for the same operation replaces it; code 0 with times 0
 * removes it. */
RV_EXPORT void rvsim_inject(const char* operation, short code, int times);

/* Holds the call of `operation` that comes after `passing` more calls of it went through: the
 * calling thread waits, before the call is journalled or takes effect, until rvsim_release, so
 * that a test can act exactly between two calls of another thread. One hold at a time; a later
 * rvsim_hold replaces one not yet reached. rvsim_reset releases it too. */
RV_EXPORT void rvsim_hold(const char* operation, int passing);
/* 1 once the chosen call is being held; 0 when `timeoutMs` passed first. */
RV_EXPORT int rvsim_wait_held(int timeoutMs);
/* Lets the held call go on, and disarms a hold not yet reached. */
RV_EXPORT void rvsim_release(void);

/* Simulated time. With the manual clock on, time moves only through rvsim_advance_ms; with it
 * off, time follows the wall clock multiplied by the time scale (1 to 1e6). */
RV_EXPORT void rvsim_use_manual_clock(int on);
RV_EXPORT void rvsim_advance_ms(double ms);
/* With the manual clock on, moves time on to exactly `ms` since power-on; an earlier time leaves
 * it where it is. */
RV_EXPORT void rvsim_advance_to_ms(double ms);
RV_EXPORT void rvsim_set_time_scale(double factor);
/* Current simulated time, ms since power-on. */
RV_EXPORT double rvsim_now_ms(void);

/* Executed path of coordinate systems: off at power-on; when on, keeps the latest 1,000,000
 * points: one at every command's start and end, and points along arcs. */
RV_EXPORT void rvsim_path_enable(int on);
RV_EXPORT int rvsim_path_count(void);
/* Point `index`, oldest first: its coordinate system, simulated time (ms) and the positions of
 * the axes X, Y, Z, A, C in pulses (5 doubles). Returns 0, or 7 when out of range. */
RV_EXPORT short rvsim_path_point(int index, short* crd, double* timeMs, double* positions);
/* 1 when point `index` lies on a rapid move (a G0 line), 0 when not, -1 when out of range. */
RV_EXPORT int rvsim_path_point_rapid(int index);
RV_EXPORT void rvsim_path_clear(void);
/* The simulated time of the latest point the path took, or would have taken with its record
 * off (a planner that needs only where the motion ended keeps no record); cleared by rvsim_reset
 * only; -1 before any point. */
RV_EXPORT double rvsim_path_end_ms(void);

/* The planner's milliseconds until coordinate system `crd` of `core` has done the commands in
 * its FIFO (look-ahead commands not yet passed on are not counted); 0 when it does not run or
 * for a bad core or crd. */
RV_EXPORT double rvsim_time_left_ms(short core, short crd);

/* How a host streaming into a FIFO waits for room: it asks after every command, and while the
 * FIFO is full lets time pass in steps, the first `firstStepMs` long, each then twice the one
 * before up to `longestStepMs`, until the command executing when it began to wait has ended; it
 * then fills the FIFO again. */
typedef struct RvsimHostWaits
{
    double firstStepMs;
    double longestStepMs;
    double startMs;        /* the host gives up at the first step at which `longestCycleMs` */
    double longestCycleMs; /* or more have passed since `startMs`, or after 2^24 steps of a wait */
    int refillPlaces;      /* see rvsim_wait_as_host */
} RvsimHostWaits;

/* Where rvsim_wait_as_host came back. */
typedef struct RvsimHostWait
{
    double timeMs; /* the simulated time reached */
    int leaveFree; /* places the host's FIFO would have free now: send until only these are */
    short gaveUp;  /* 1 when the host gave up: send until `leaveFree` are free, then stop */
} RvsimHostWait;

/* With the manual clock on, lets time pass as a host streaming into FIFO `fifo` of coordinate
 * system `crd` of `core` would see it, waiting as `waits` says, from one command's end to the
 * next, each at the very instant it was planned to end. It comes back at the end of a wait with
 * at least `refillPlaces` free, when the coordinate system stops, or where the host gives up; at
 * the ends of other waits the FIFO is left as it is. A look-ahead motion whose view ahead would
 * end where the queue does, short of where it could brake, is held at its start: the caller
 * sends until `leaveFree` places are free, as the host's FIFO would have them, and calls again,
 * and the motion is planned over what the host would have queued. Every plan is then the one
 * the host's own waits give. The first call after the coordinate system started begins a wait
 * there. Returns 0, or 7 with the manual clock off, for steps not above 0, or for a bad core,
 * crd, fifo or pointer. */
RV_EXPORT short rvsim_wait_as_host(short core, short crd, short fifo, const RvsimHostWaits* waits,
                                   RvsimHostWait* state);

/* Output state of a core as the buffered commands left it. */
typedef struct RvsimOutputs
{
    unsigned short digital[3]; /* doType 10 enable, 11 clear, 12 general purpose */
    short analog[12];          /* channels 1 to 12 */
    short laserOn;             /* laser output of channel 0 */
    short laserFollowOn;
    short laserFollowSource;
    double laserFollowRatio;
    double laserPowerMin;
    double laserPowerMax;
    short posCompareOn;
    short limitsOff[16];     /* per profile: bit 0 positive, bit 1 negative limit off */
    short stopInput[16];     /* per profile: inputType * 256 + inputIndex + 1, 0 none */
    double gearDistance[16]; /* per profile: last geared distance, pulses */
} RvsimOutputs;

/* Fills the output state of `core`; 0, or 7 for a bad core or null pointer. */
RV_EXPORT short rvsim_outputs(short core, RvsimOutputs* outputs);

#ifdef __cplusplus
}
#endif

#endif
