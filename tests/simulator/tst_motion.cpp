#include "rvsim.h"

#include "LookAheadCrd.h"

#include <QTest>

#include <cmath>
#include <cstring>
#include <functional>

Q_DECLARE_METATYPE(std::function<short()>)

namespace {

constexpr double pulsesPerMm = 1000;

// Coordinate system 1 on profiles 1 to 3 (X, Y, Z), look-ahead in millimetres at 1000 pulses
// per millimetre, holding `held` segments back.
void setUpCrd(int held = 4, double dvMax = 5)
{
    LookAheadCrd crd;
    crd.synVelMax = 10000;
    crd.synAccMax = 10000;
    crd.held = held;
    crd.vMax = 1e6;
    crd.aMax = 1e9;
    crd.dvMax = dvMax;
    crd.scale = pulsesPerMm;
    QCOMPARE(SetUpLookAheadCrd(crd), short(0));
}

void flushAndStart()
{
    QCOMPARE(MQN_CrdDataEx(1, 1, nullptr, 0), short(0));
    QCOMPARE(MQN_CrdStart(1, 1, 0), short(0));
}

double positionMm(short profile)
{
    double pos = 0;
    MQN_GetPrfPos(1, profile, &pos, 1, nullptr);
    return pos / pulsesPerMm;
}

short runState()
{
    short run = -1;
    int32_t segment = 0;
    MQN_CrdStatus(1, 1, &run, &segment, 0);
    return run;
}

// Advances in 1 ms steps until the run ends; returns the simulated time it took.
double runToEnd(double limitMs = 100000)
{
    const double start = rvsim_now_ms();
    while (runState() == 1 && rvsim_now_ms() - start < limitMs)
        rvsim_advance_ms(1);
    return rvsim_now_ms() - start;
}

struct PathPoint
{
    double time;
    double position[5];
};

QList<PathPoint> path()
{
    QList<PathPoint> points;
    for (int i = 0; i < rvsim_path_count(); ++i) {
        PathPoint point;
        short crd;
        rvsim_path_point(i, &crd, &point.time, point.position);
        points << point;
    }
    return points;
}

} // namespace

class TestMotion : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void plainLineRunsInPulses();
    void arcPointsLieOnTheCircle_data();
    void arcPointsLieOnTheCircle();
    void impossibleArcsAreRefused_data();
    void impossibleArcsAreRefused();
    void countersBeforeDuringAndAfter();
    void smoothStopDeceleratesAndStartGoesOn();
    void abruptStopHaltsAtOnce();
    void lookAheadQueueFillsTheFifo();
    void pushingLookAheadServesEveryFifo();
    void cornerSpeed_data();
    void cornerSpeed();
    void fifoRunningEmptyIsReported();
    void bufferedMoveAndDelay();
    void originOffsetAndZeroing();
    void timeLeftIsThePlannersTime();
};

void TestMotion::init()
{
    rvsim_reset();
    rvsim_use_manual_clock(1);
}

void TestMotion::plainLineRunsInPulses()
{
    setUpCrd();
    // 1000 pulses at 1 pulse/ms, 0.01 pulse/ms^2: 100 ms ramps, 900 ms at speed.
    QCOMPARE(MQN_LnXY(1, 1, 0, 1000, 1, 0.01, 0, 0), short(0));
    QCOMPARE(MQN_CrdStart(1, 1, 0), short(0));
    rvsim_advance_ms(100);
    double pos = 0;
    MQN_GetPrfPos(1, 2, &pos, 1, nullptr);
    QVERIFY(std::abs(pos - 50) < 1e-9);
    rvsim_advance_ms(999);
    QCOMPARE(runState(), short(1));
    rvsim_advance_ms(2);
    QCOMPARE(runState(), short(0));
    MQN_GetPrfPos(1, 2, &pos, 1, nullptr);
    QCOMPARE(pos, 1000.0);
}

void TestMotion::arcPointsLieOnTheCircle_data()
{
    QTest::addColumn<std::function<short()>>("arc");
    QTest::addColumn<int>("axisA");
    QTest::addColumn<int>("axisB");
    QTest::addColumn<double>("centreA");
    QTest::addColumn<double>("centreB");
    QTest::addColumn<double>("radius");
    QTest::addColumn<double>("endA");
    QTest::addColumn<double>("endB");

    // Every arc starts at the origin; centres and radii in pulses.
    QTest::newRow("XY centre, counter-clockwise half circle") << std::function<short()>([] {
        return MQN_ArcXYC(1, 1, 2000, 0, 1000, 0, 1, 2, 0.01, 0, 0);
    }) << 0 << 1 << 1000.0 << 0.0 << 1000.0 << 2000.0 << 0.0;
    QTest::newRow("XY radius, shorter clockwise arc") << std::function<short()>([] {
        return MQN_ArcXYR(1, 1, 1000, 1000, 1000, 0, 2, 0.01, 0, 0);
    }) << 0 << 1 << 1000.0 << 0.0 << 1000.0 << 1000.0 << 1000.0;
    QTest::newRow("XY radius, longer counter-clockwise arc") << std::function<short()>([] {
        return MQN_ArcXYR(1, 1, 1000, 1000, -1000, 1, 2, 0.01, 0, 0);
    }) << 0 << 1 << 1000.0 << 0.0 << 1000.0 << 1000.0 << 1000.0;
    QTest::newRow("XY radius, shorter counter-clockwise arc") << std::function<short()>([] {
        return MQN_ArcXYR(1, 1, 1000, 1000, 1000, 1, 2, 0.01, 0, 0);
    }) << 0 << 1 << 0.0 << 1000.0 << 1000.0 << 1000.0 << 1000.0;
    QTest::newRow("YZ centre, full circle")
        << std::function<short()>([] { return MQN_ArcYZC(1, 1, 0, 0, 0, 500, 0, 2, 0.01, 0, 0); })
        << 1 << 2 << 0.0 << 500.0 << 500.0 << 0.0 << 0.0;
    QTest::newRow("ZX centre, Z first") << std::function<short()>(
        [] { return MQN_ArcZXC(1, 1, 600, 600, 600, 0, 1, 2, 0.01, 0, 0); })
                                        << 2 << 0 << 600.0 << 0.0 << 600.0 << 600.0 << 600.0;
    QTest::newRow("XY centre in millimetres") << std::function<short()>([] {
        return MQN_ArcXYCEx(1, 1, 2, 2, 0, 2, 1, 200, 2000, 7, 0, 0);
    }) << 0 << 1 << 0.0 << 2000.0 << 2000.0 << 2000.0
                                              << 2000.0;
    QTest::newRow("ZX radius in millimetres, X first")
        << std::function<short()>([] { return MQN_ArcZXREx(1, 1, 1, 1, 1, 0, 200, 2000, 7, 0, 0); })
        << 2 << 0 << 1000.0 << 0.0 << 1000.0 << 1000.0 << 1000.0;
}

void TestMotion::arcPointsLieOnTheCircle()
{
    QFETCH(std::function<short()>, arc);
    QFETCH(int, axisA);
    QFETCH(int, axisB);
    QFETCH(double, centreA);
    QFETCH(double, centreB);
    QFETCH(double, radius);
    QFETCH(double, endA);
    QFETCH(double, endB);

    setUpCrd();
    rvsim_path_enable(1);
    QCOMPARE(arc(), short(0));
    flushAndStart();
    runToEnd();

    const QList<PathPoint> points = path();
    QVERIFY2(points.size() >= 6, qPrintable(QString::number(points.size())));
    double lastTime = -1;
    for (const PathPoint& point : points) {
        const double distance
            = std::hypot(point.position[axisA] - centreA, point.position[axisB] - centreB);
        QVERIFY2(std::abs(distance - radius) < 1e-6,
                 qPrintable(QStringLiteral("%1 from the centre").arg(distance)));
        const int other = 3 - axisA - axisB;
        QCOMPARE(point.position[other], 0.0);
        QVERIFY(point.time >= lastTime);
        lastTime = point.time;
    }
    QCOMPARE(points.last().position[axisA], endA);
    QCOMPARE(points.last().position[axisB], endB);
}

void TestMotion::impossibleArcsAreRefused_data()
{
    QTest::addColumn<std::function<short()>>("arc");

    QTest::newRow("radius shorter than half the chord")
        << std::function<short()>([] { return MQN_ArcXYR(1, 1, 2000, 0, 999, 0, 1, 1, 0, 0); });
    QTest::newRow("radius form cannot make a full circle")
        << std::function<short()>([] { return MQN_ArcXYR(1, 1, 0, 0, 500, 0, 1, 1, 0, 0); });
    QTest::newRow("zero radius") << std::function<short()>(
        [] { return MQN_ArcXYR(1, 1, 10, 0, 0, 0, 1, 1, 0, 0); });
    QTest::newRow("end point off the centre's circle") << std::function<short()>(
        [] { return MQN_ArcXYC(1, 1, 2000, 200, 1000, 0, 1, 1, 1, 0, 0); });
    QTest::newRow("centre on the start point")
        << std::function<short()>([] { return MQN_ArcXYC(1, 1, 10, 0, 0, 0, 1, 1, 1, 0, 0); });
    QTest::newRow("in millimetres, off by 0.02 mm") << std::function<short()>(
        [] { return MQN_ArcXYCEx(1, 1, 2, 0.2, 1, 0, 1, 1, 1, 0, 0, 0); });
    QTest::newRow("direction 2") << std::function<short()>(
        [] { return MQN_ArcXYC(1, 1, 2000, 0, 1000, 0, 2, 1, 1, 0, 0); });
    QTest::newRow("plane beyond the dimension") << std::function<short()>([] {
        CrdPrm prm;
        MQN_GetCrdPrm(1, 1, &prm);
        prm.dimension = 2;
        prm.profile[2] = 0;
        MQN_SetCrdPrm(1, 1, &prm);
        return MQN_ArcYZC(1, 1, 0, 0, 0, 500, 0, 2, 0.01, 0, 0);
    });
}

void TestMotion::impossibleArcsAreRefused()
{
    QFETCH(std::function<short()>, arc);

    setUpCrd();
    QCOMPARE(arc(), short(7));
    int32_t space = 0;
    MQN_CrdSpace(1, 1, &space, 0);
    QCOMPARE(space, 4096);
    QCOMPARE(MQN_CrdDataEx(1, 1, nullptr, 0), short(0));
    MQN_CrdSpace(1, 1, &space, 0);
    QCOMPARE(space, 4096);
}

void TestMotion::countersBeforeDuringAndAfter()
{
    setUpCrd();
    // Three 10 mm lines at 100 mm/s with 10 ms ramps, each stopping: 110 ms apiece.
    QCOMPARE(MQN_LnXYG0Ex(1, 1, 10, 0, 100, 10000, 11, 0, 0), short(0));
    QCOMPARE(MQN_BufIOEx(1, 1, 12, 0x1, 0x1, 0), short(0));
    QCOMPARE(MQN_BufDelayEx(1, 1, 0, 0), short(0));
    QCOMPARE(MQN_LnXYG0Ex(1, 1, 10, 10, 100, 10000, 12, 0, 0), short(0));
    QCOMPARE(MQN_BufDelayEx(1, 1, 0, 0), short(0));
    QCOMPARE(MQN_LnXYG0Ex(1, 1, 0, 10, 100, 10000, 13, 0, 0), short(0));

    int32_t space = 0, remainder = 0, segNum = 0, completed = 0;
    short run = 0;
    auto read = [&] {
        MQN_CrdSpace(1, 1, &space, 0);
        MQN_GetRemainderSegNum(1, 1, &remainder, 0);
        MQN_GetUserSegNumWN(1, 1, &segNum, 0);
        MQN_CrdStatus(1, 1, &run, &completed, 0);
    };
    read();
    QCOMPARE(space, 4096 - 2); // four held back by the look-ahead
    QCOMPARE(remainder, 2);
    flushAndStart();

    read();
    QCOMPARE(run, short(1));
    QCOMPARE(space, 4096 - 6);
    QCOMPARE(remainder, 6);
    QCOMPARE(segNum, 11);
    QCOMPARE(completed, 0);

    rvsim_advance_ms(150); // into the second line
    read();
    QCOMPARE(segNum, 12);
    QCOMPARE(completed, 3);
    QCOMPARE(remainder, 3);
    QCOMPARE(space, 4096 - 3);

    rvsim_advance_ms(200);
    read();
    QCOMPARE(run, short(0));
    QCOMPARE(segNum, 13);
    QCOMPARE(completed, 6);
    QCOMPARE(remainder, 0);
    QCOMPARE(space, 4096);
    CrdStatusEx status;
    QCOMPARE(MQN_CrdStatusEx(1, 1, &status, 0), short(0));
    QCOMPARE(status.runEmpty, short(0));
}

void TestMotion::smoothStopDeceleratesAndStartGoesOn()
{
    setUpCrd();
    // 100 mm at 100 mm/s with 1000 mm/s^2: at speed from 5 mm on.
    QCOMPARE(MQN_LnXYEx(1, 1, 100, 0, 100, 1000, 1, 0, 0), short(0));
    QCOMPARE(MQN_BufDelayEx(1, 1, 10, 0), short(0));
    flushAndStart();
    rvsim_advance_ms(500); // 5 mm + 0.4 s at 100 mm/s
    QVERIFY(std::abs(positionMm(1) - 45) < 1e-9);

    QCOMPARE(MQN_Stop(1, 0x1, 0), short(0)); // X is profile 1: smooth stop
    QCOMPARE(runState(), short(1));
    rvsim_advance_ms(50);
    QVERIFY(std::abs(positionMm(1) - (45 + 3.75)) < 1e-9);
    rvsim_advance_ms(60);
    QCOMPARE(runState(), short(0));
    QVERIFY2(std::abs(positionMm(1) - 50) < 1e-9, // braked over v^2/2a = 5 mm
             qPrintable(QString::number(positionMm(1))));
    rvsim_advance_ms(500);
    QVERIFY(std::abs(positionMm(1) - 50) < 1e-9);
    int32_t remainder = 0;
    MQN_GetRemainderSegNum(1, 1, &remainder, 0);
    QCOMPARE(remainder, 2);

    QCOMPARE(MQN_CrdStart(1, 1, 0), short(0));
    const double took = runToEnd();
    QCOMPARE(positionMm(1), 100.0);
    // 50 mm from standstill to standstill: 0.1 s ramps, 0.4 s at speed, then the 10 ms delay.
    QVERIFY2(std::abs(took - 610) <= 1, qPrintable(QString::number(took)));
}

void TestMotion::abruptStopHaltsAtOnce()
{
    setUpCrd();
    QCOMPARE(MQN_LnXYEx(1, 1, 100, 0, 100, 1000, 1, 0, 0), short(0));
    flushAndStart();
    rvsim_advance_ms(300);
    const double at = positionMm(1);
    QCOMPARE(MQN_Stop(1, 0x1, 0x1), short(0));
    QCOMPARE(runState(), short(0));
    rvsim_advance_ms(300);
    QCOMPARE(positionMm(1), at);

    QCOMPARE(MQN_Stop(1, 0x4, 0), short(0)); // profile 3 is Z of the same crd: nothing to stop
    QCOMPARE(MQN_CrdStart(1, 1, 0), short(0));
    runToEnd();
    QCOMPARE(positionMm(1), 100.0);
}

void TestMotion::lookAheadQueueFillsTheFifo()
{
    rvsim_configure(0, 0, 0, 0, 8);
    rvsim_use_manual_clock(1);
    setUpCrd(4);
    for (int i = 1; i <= 12; ++i)
        QCOMPARE(MQN_LnXYEx(1, 1, i, 0, 100, 10000, i, 0, 0), short(0));
    QCOMPARE(MQN_LnXYEx(1, 1, 13, 0, 100, 10000, 13, 0, 0), short(1)); // nowhere to go
    int32_t space = -1;
    MQN_CrdSpace(1, 1, &space, 0);
    QCOMPARE(space, 0);
    QCOMPARE(MQN_CrdDataEx(1, 1, nullptr, 0), short(1));

    QCOMPARE(MQN_CrdStart(1, 1, 0), short(0));
    short result = 1;
    for (int ms = 0; ms < 1000 && result == 1; ++ms) {
        rvsim_advance_ms(1);
        result = MQN_CrdDataEx(1, 1, nullptr, 0);
    }
    QCOMPARE(result, short(0));
    runToEnd();
    QCOMPARE(positionMm(1), 12.0);
    int32_t segNum = 0;
    MQN_GetUserSegNumWN(1, 1, &segNum, 0);
    QCOMPARE(segNum, 12);
}

void TestMotion::pushingLookAheadServesEveryFifo()
{
    setUpCrd(4);
    for (int i = 1; i <= 6; ++i)
        QCOMPARE(MQN_LnXYEx(1, 1, i, 0, 100, 10000, i, 0, 1), short(0));
    int32_t space = 0;
    MQN_CrdSpace(1, 1, &space, 1);
    QCOMPARE(space, 4096 - 2);
    QCOMPARE(MQN_CrdDataEx(1, 1, nullptr, 0), short(0));
    MQN_CrdSpace(1, 1, &space, 1);
    QCOMPARE(space, 4096 - 6);
    QCOMPARE(MQN_CrdStart(1, 1, 1), short(0)); // option bit 0: FIFO 1
    runToEnd();
    QCOMPARE(positionMm(1), 6.0);
}

void TestMotion::cornerSpeed_data()
{
    QTest::addColumn<double>("angleDegrees");
    QTest::addColumn<double>("minMs");
    QTest::addColumn<double>("maxMs");

    // Two 20 mm lines at 100 mm/s, 1000 mm/s^2. Through the corner at speed: 0.4 s + 0.1 s.
    // Stopping at it: twice 0.2 s + 0.1 s.
    QTest::newRow("1 degree keeps its speed") << 1.0 << 499.0 << 502.0;
    QTest::newRow("90 degrees slows down") << 90.0 << 590.0 << 600.5;
    QTest::newRow("straight on") << 0.0 << 499.0 << 501.0;
}

void TestMotion::cornerSpeed()
{
    QFETCH(double, angleDegrees);
    QFETCH(double, minMs);
    QFETCH(double, maxMs);

    setUpCrd(8, 5);
    const double angle = angleDegrees * 3.14159265358979323846 / 180;
    QCOMPARE(MQN_LnXYEx(1, 1, 20, 0, 100, 1000, 1, 0, 0), short(0));
    QCOMPARE(MQN_LnXYEx(1, 1, 20 + 20 * std::cos(angle), 20 * std::sin(angle), 100, 1000, 2, 0, 0),
             short(0));
    flushAndStart();
    const double took = runToEnd();
    QVERIFY2(took >= minMs && took <= maxMs, qPrintable(QString::number(took)));
}

void TestMotion::fifoRunningEmptyIsReported()
{
    setUpCrd(2);
    for (int i = 1; i <= 3; ++i)
        QCOMPARE(MQN_LnXYEx(1, 1, i, 0, 100, 10000, i, 0, 0), short(0));
    QCOMPARE(MQN_CrdStart(1, 1, 0), short(0)); // one in the FIFO, two held back
    rvsim_advance_ms(500);
    QCOMPARE(runState(), short(1)); // waits for what the look-ahead still holds
    CrdStatusEx status;
    QCOMPARE(MQN_CrdStatusEx(1, 1, &status, 0), short(0));
    QCOMPARE(status.runEmpty, short(1));
    QCOMPARE(positionMm(1), 1.0);

    QCOMPARE(MQN_CrdDataEx(1, 1, nullptr, 0), short(0));
    runToEnd();
    QCOMPARE(positionMm(1), 3.0);
}

void TestMotion::bufferedMoveAndDelay()
{
    setUpCrd(0);
    // Profile 5 drives no axis of the crd: 1000 pulses at 1 pulse/ms, 0.01 pulse/ms^2 (1.1 s),
    // waited for, then 200 ms of delay.
    QCOMPARE(MQN_BufMove(1, 1, 5, 1000, 1, 0.01, 1, 0), short(0));
    QCOMPARE(MQN_BufDelay(1, 1, 200, 0), short(0));
    QCOMPARE(MQN_CrdStart(1, 1, 0), short(0));
    rvsim_advance_ms(100);
    double pos = 0;
    MQN_GetPrfPos(1, 5, &pos, 1, nullptr);
    QVERIFY(std::abs(pos - 50) < 1e-9);
    QCOMPARE(MQN_ZeroPos(1, 5, 1), short(1)); // not while it moves
    const double took = runToEnd() + 100;
    MQN_GetPrfPos(1, 5, &pos, 1, nullptr);
    QCOMPARE(pos, 1000.0);
    QVERIFY2(std::abs(took - 1300) <= 1, qPrintable(QString::number(took)));
}

void TestMotion::originOffsetAndZeroing()
{
    CrdPrm prm;
    std::memset(&prm, 0, sizeof prm);
    prm.dimension = 2;
    prm.profile[0] = 2; // map base 3: profile 3 drives Y, profile 4 drives X
    prm.profile[1] = 1;
    prm.synVelMax = 100;
    prm.synAccMax = 100;
    prm.setOriginFlag = 1;
    prm.originPos[0] = 500;
    prm.originPos[1] = -20;
    QCOMPARE(MQN_SetCrdMapBase(1, 1, 3), short(0));
    QCOMPARE(MQN_SetCrdPrm(1, 1, &prm), short(0));
    QCOMPARE(MQN_LnXY(1, 1, 100, 40, 10, 1, 0, 0), short(0));
    QCOMPARE(MQN_CrdStart(1, 1, 0), short(0));
    runToEnd();

    double pos[4] = {};
    QCOMPARE(MQN_GetPrfPos(1, 1, pos, 4, nullptr), short(0));
    QCOMPARE(pos[2], 40.0 - 20);
    QCOMPARE(pos[3], 100.0 + 500);
    QCOMPARE(MQN_ZeroPos(1, 1, 8), short(0));
    QCOMPARE(MQN_GetPrfPos(1, 1, pos, 4, nullptr), short(0));
    QCOMPARE(pos[3], 0.0);

    // The next line starts where the zeroed profiles now stand (X at -500).
    QCOMPARE(MQN_LnXY(1, 1, -400, 20, 10, 1, 0, 0), short(0));
    QCOMPARE(MQN_CrdStart(1, 1, 0), short(0));
    runToEnd();
    QCOMPARE(MQN_GetPrfPos(1, 3, pos, 2, nullptr), short(0));
    QCOMPARE(pos[0], 0.0);
    QCOMPARE(pos[1], 100.0);
}

// Two 10 mm moves there and back at 50 mm/s and 500 mm/s^2, each to a full stop (0.3 s), and
// a 200 ms dwell between them.
void TestMotion::timeLeftIsThePlannersTime()
{
    setUpCrd(4, 1e-9);
    QCOMPARE(rvsim_time_left_ms(1, 1), 0.0);
    QCOMPARE(MQN_LnXYEx(1, 1, 10, 0, 50, 500, 1, 0, 0), short(0));
    QCOMPARE(MQN_BufDelayEx(1, 1, 200, 0), short(0));
    QCOMPARE(MQN_LnXYEx(1, 1, 0, 0, 50, 500, 2, 0, 0), short(0));
    flushAndStart();
    QCOMPARE_LT(std::abs(rvsim_time_left_ms(1, 1) - 800), 1e-9);
    rvsim_advance_ms(100);
    QCOMPARE_LT(std::abs(rvsim_time_left_ms(1, 1) - 700), 1e-9);
    rvsim_advance_ms(450);
    QCOMPARE_LT(std::abs(rvsim_time_left_ms(1, 1) - 250), 1e-9);
    // Played out on a copy: the run itself goes on as before (to within the 1 ms step the run
    // is played in; the manual clock starts where the wall clock had got to at the switch).
    QCOMPARE_LE(std::abs(runToEnd() - 250), 1.0);
    QCOMPARE(rvsim_time_left_ms(1, 1), 0.0);
    QCOMPARE(rvsim_time_left_ms(9, 1), 0.0);
}

QTEST_MAIN(TestMotion)
#include "tst_motion.moc"
