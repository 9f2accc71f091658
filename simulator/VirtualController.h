#ifndef RVSIM_VIRTUALCONTROLLER_H
#define RVSIM_VIRTUALCONTROLLER_H

#include "EndSpeedPlan.h"
#include "Ring.h"
#include "rvsim.h"

#include <cstdint>
#include <deque>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace rvsim {

struct Config
{
    int cores = 1;
    int crdsPerCore = 2;
    int fifosPerCrd = 2;
    int profilesPerCore = 12;
    int fifoCapacity = 4096;
};

struct Profile
{
    double position = 0; // pulses
    bool moving = false;
    double moveFrom = 0;
    double moveDirection = 1;
    double moveStartTime = 0;
    SpeedProfile move;
};

// The commands of a FIFO carry consecutive serial numbers from the front to the last
// look-ahead form: they leave at the front and join at the back.
struct Fifo
{
    CommandQueue queue;     // held, the front executing, then the look-ahead forms waiting
    AxisVector queuedEnd{}; // pulses; where the last queued motion ends
    int64_t nextSerial = 0;
    EndSpeedPlan plan;
};

struct Crd
{
    CrdPrm prm{};
    short mapBase = 1;
    int axisProfile[crdAxisCount] = {-1, -1, -1, -1, -1}; // 0-based profile, -1 none
    AxisVector freeAxes{};                                // positions of axes without a profile
    LookAheadPrmEx lookAheadPrm{};
    // The look-ahead's scales, and its limits per axis in path units per ms (and per ms^2), as
    // every motion buffered takes them.
    struct LookAheadLimits
    {
        AxisVector scale{1, 1, 1, 1, 1};
        AxisVector vMax{};
        AxisVector aMax{};
        AxisVector dvMax{};
    };
    LookAheadLimits lookAheadLimits;
    bool lookAheadSetUp = false;
    bool lookAheadReady = false;
    double jerk = 0;
    short contourEnable = 0;
    double contourKp = 0;
    short blendParaType = 0;
    double blendPara = 0, blendMinAngle = 0, blendMaxAngle = 0;
    std::vector<Fifo> fifos;

    bool running = false;
    int activeFifo = 0;
    double now = 0;
    bool activeStarted = false;
    double activeStart = 0;
    double activeOffset = 0; // distance of the front motion done before the current profile
    SpeedProfile activeProfile;
    // The time the front motion's axes were last placed for, -1 when they stand elsewhere: a
    // call at the same time finds them there already.
    double placedAt = -1;
    // A front not begun while time stays here: its plan waits for more commands. Not a number
    // when none is held.
    double heldAt = std::numeric_limits<double>::quiet_NaN();
    bool holdCutShort = false; // whether a front whose view the queue cuts short is held
    // The wait of a host streaming into this coordinate system, played by waitAsHost.
    struct HostWait
    {
        bool begun = false;
        double endsAt = 0;
        bool givesUp = false;          // the host gives up where it ends
        int32_t completedAtRefill = 0; // commands done when the host last filled the FIFO
        bool refillSkipped = false;    // whether it filled it since the caller did
    };
    HostWait hostWait;
    double velocity = 0;  // path speed at `now`, in the front command's units
    double unitScale = 1; // pulses per path unit of `velocity`
    bool stopping = false;
    int32_t completed = 0;
    int32_t userSegNum = 0;
    bool ranEmpty = false;

    bool ilcRecording = false;
    int ilcLearned = 0;
    double ilcMax = 0, ilcSum = 0, ilcSumSquares = 0;
    double ilcSamples = 0; // milliseconds sampled
    double ilcLastSample = 0;
};

struct Core
{
    std::vector<Crd> crds;
    std::vector<Profile> profiles;
    bool profileMoving = false; // some profile may be moving on its own: the clock checks them
    RvsimOutputs outputs{};
};

struct PathPoint
{
    short crd;
    double time;
    AxisVector position;
    bool rapid; // on a G0 line
};

// The controller's state and behaviour; callers hold the library lock.
class VirtualController
{
public:
    explicit VirtualController(const Config& config = Config());

    const Config& config() const { return cfg; }
    void advanceTo(double now);
    // Whether a coordinate system runs or a profile may move on its own: only then does the
    // passing of time change what the controller answers.
    bool moving() const;

    short resourceCount(short core, short type, short* count);
    short resourceMax(short core, short type, short* max);
    short setCrdPrm(short core, short crd, const CrdPrm* prm);
    short getCrdPrm(short core, short crd, CrdPrm* prm);
    short setMapBase(short core, short crd, short base);
    short getMapBase(short core, short crd, short* base);
    short setupLookAhead(short core, short crd);
    short initLookAhead(short core, short crd, const LookAheadPrmEx* prm);
    short getLookAhead(short core, short crd, short fifo, LookAheadPrmEx* prm);
    short setJerk(short core, short crd, double jerk);
    short getJerk(short core, short crd, double* jerk);
    short setContour(short core, short crd, short enable, double kp);
    short getContour(short core, short crd, short* enable, double* kp);
    short setBlending(short core, short crd, short type, double para, double minAngle,
                      double maxAngle);
    short getBlending(short core, short crd, short* type, double* para, double* minAngle,
                      double* maxAngle);

    short pushLookAhead(short core, short crd);
    short start(short core, short mask, short option);
    short clear(short core, short mask, short option);
    short stop(short core, int32_t profileMask, int32_t option);
    short status(short core, short crd, short fifo, short* run, int32_t* segment);
    short statusEx(short core, short crd, short fifo, CrdStatusEx* status);
    short space(short core, short crd, short fifo, int32_t* space);
    short remainder(short core, short crd, short fifo, int32_t* count);
    short userSegNum(short core, short crd, short fifo, int32_t* segNum);
    short profilePosition(short core, short profile, short count, double* pos, uint32_t* clock);
    short zeroPosition(short core, short profile, short count);

    short initIlc(short core);
    short startIlc(short core, short crd);
    short stopIlc(short core, short crd, IlcErrorRecord* error);
    short loadIlcFile(short core, short crd, const char* path);

    // Plain motion in pulses: `axes` lists the coordinate-system axes given in `target`.
    short bufferLine(short core, short crd, short fifo, std::initializer_list<int> axes,
                     std::initializer_list<double> target, double synVel, double synAcc,
                     double velEnd, int32_t segNum, bool lookAhead, bool rapid = false);
    // Arc in the plane (a, b): by radius when `byCentre` is false, else around start + centre.
    short bufferArc(short core, short crd, short fifo, int a, int b, double endA, double endB,
                    bool byCentre, double radiusOrCentreA, double centreB, short circleDir,
                    double synVel, double synAcc, double velEnd, int32_t segNum, bool lookAhead);
    // Any other command; `lookAhead` sends it through the look-ahead queue.
    short bufferOther(short core, short crd, short fifo, Command command, bool lookAhead);

    // Whether the last operation only queued a command behind one that executes, or in a FIFO
    // that does not run, leaving what time does from now on as it was; asking clears it.
    bool takeQueuedBehind() { return std::exchange(queuedBehind, false); }

    bool outputs(short core, RvsimOutputs* out) const;
    // The planned milliseconds until the coordinate system has done the commands in its FIFO;
    // 0 when it does not run. Played out on a copy of the cores.
    double timeLeft(short core, short crd) const;
    // Lets time pass as a host streaming into the FIFO would see it, until it would refill with
    // `waits.refillPlaces` free, the coordinate system stops, the host gives up, or a motion is
    // held for what the host would have queued; false for a bad core, crd, fifo or waits.
    bool waitAsHost(short core, short crd, short fifo, const RvsimHostWaits& waits,
                    RvsimHostWait& state);

    void enablePath(bool on) { pathOn = on; }
    const std::deque<PathPoint>& path() const { return pathPoints; }
    void clearPath() { pathPoints.clear(); }
    // The time of the latest point the path took, or would have taken with its record off;
    // -1 before any.
    double pathEnd() const { return latestPathTime; }

private:
    // A coordinate system of a mask, with the FIFO the option word selects for it.
    struct Selected
    {
        Crd* crd;
        int fifo;
    };
    // The coordinate systems of `mask`; none for a bad core, mask or option.
    std::optional<std::vector<Selected>> selectCrds(short core, short mask, short option);
    template <typename T, typename Read> short readCrd(short core, short crd, T* out, Read read);
    template <typename T, typename Read>
    short readFifo(short core, short crd, short fifo, T* out, Read read);
    int32_t freePlaces(const Fifo& fifo) const
    {
        return cfg.fifoCapacity - int32_t(fifo.queue.held());
    }
    Core* coreAt(short core);
    Crd* crdAt(short core, short crd);
    Fifo* fifoAt(short core, short crd, short fifo);
    bool validProfile(short core, short profile) const;

    void updateAxisMap(Crd& crd);
    AxisVector axes(const Core& core, const Crd& crd) const;
    void setAxes(Core& core, Crd& crd, const AxisVector& pulses);
    AxisVector queueStart(const Core& core, const Crd& crd, const Fifo& fifo) const;
    // Where the command to queue next in `fifo` is made, written whole in place (a motion from
    // Command::startMotion() on); enqueue() queues it.
    Command& stage(const Crd& crd, Fifo& fifo) const;
    short enqueue(Crd& crd, Fifo& fifo, bool lookAhead);
    bool prepareMotion(const Crd& crd, Command& command, bool lookAhead, double synVel,
                       double synAcc, double velEnd) const;

    void advanceCrd(Core& core, short crdNumber, Crd& crd, double until);
    void advanceProfiles(Core& core, double until);
    // Whether the look-ahead would plan the front over a view that ends where the queue does.
    bool viewCutShort(Fifo& fifo);
    void beginFront(Core& core, short crdNumber, Crd& crd, Command& command);
    // When the command executing at the front ends, as planned when it began; -1 when none
    // executes.
    double executingEnd(const Core& core, const Crd& crd) const;
    void beginHostWait(const Core& core, Crd& crd, const RvsimHostWaits& waits);
    double frontEndTime(const Core& core, const Crd& crd, const Command& command) const;
    void finishFront(Core& core, short crdNumber, Crd& crd, Fifo& fifo);
    void moveAlong(Core& core, Crd& crd, const Command& command, double time);
    void placeAt(Core& core, Crd& crd, const Command& command, double distance);
    void applyOther(Core& core, Crd& crd, const Command& command);
    void sampleIlc(Crd& crd, const Command& command, double until);
    void stopCrd(Core& core, Crd& crd, bool abrupt);
    void recordPath(short crdNumber, const Crd& crd, const Core& core, double time, bool rapid);
    void recordArcSamples(short crdNumber, const Crd& crd, const Command& command, double from,
                          double to);

    Config cfg;
    std::vector<Core> cores;
    double clock = 0;
    bool pathOn = false;
    std::deque<PathPoint> pathPoints;
    double latestPathTime = -1;
    bool queuedBehind = false;
};

} // namespace rvsim

#endif
