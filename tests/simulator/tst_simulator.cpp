// The virtual controller: what it refuses, how its buffers fill and empty, and the motion it
// plays out on its manual clock.
#include "LookAheadCrd.h"
#include "rvsim.h"

#include <QTest>

#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

using Call = std::function<short()>;
Q_DECLARE_METATYPE(Call)

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

CrdPrm twoAxisPrm()
{
    CrdPrm prm{};
    prm.dimension = 2;
    prm.profile[0] = 1;
    prm.profile[1] = 2;
    prm.synVelMax = 500;
    prm.synAccMax = 5;
    return prm;
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

int32_t space(short crd = 1, short fifo = 0)
{
    int32_t free = -1;
    MQN_CrdSpace(1, crd, &free, fifo);
    return free;
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

// A host streaming `segments` lines of 0.01 mm at 5 mm/s into a FIFO of 16, each line's view
// ahead cut short by the FIFO (the motion brakes over 0.25 mm), waiting for room as `waits`
// says: the points of the path it ran, and in `holds` how often a motion was held for it.
std::vector<std::array<double, 2>> pathOfHostStream(int segments, const RvsimHostWaits& waits,
                                                    int& holds)
{
    rvsim_configure(0, 0, 0, 0, 16);
    rvsim_use_manual_clock(1);
    rvsim_advance_to_ms(1000); // both hosts from the same instant, to the last bit
    rvsim_path_enable(1);
    setUpCrd(2);
    RvsimHostWaits started = waits;
    int leaveFree = 0;
    for (int sent = 0; sent < segments;) {
        if (space() > leaveFree) {
            ++sent;
            MQN_LnXYEx(1, 1, 0.01 * sent, 0, 5, 50, sent, 0, 0);
            continue;
        }
        if (runState() != 1) {
            MQN_CrdStart(1, 1, 0);
            started.startMs = rvsim_now_ms();
        }
        RvsimHostWait state{};
        if (rvsim_wait_as_host(1, 1, 0, &started, &state) != 0)
            return {};
        leaveFree = state.leaveFree;
        holds += leaveFree > 0 ? 1 : 0;
    }
    while (MQN_CrdDataEx(1, 1, nullptr, 0) != 0)
        rvsim_advance_ms(1);
    runToEnd();
    std::vector<std::array<double, 2>> path(static_cast<std::size_t>(rvsim_path_count()));
    for (int index = 0; index < int(path.size()); ++index) {
        double positions[5] = {};
        rvsim_path_point(index, nullptr, &path[std::size_t(index)][0], positions);
        path[std::size_t(index)][1] = positions[0];
    }
    return path;
}

} // namespace

class TestSimulator : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        rvsim_reset();
        rvsim_use_manual_clock(1);
    }

    void refusedCallsChangeNothing_data()
    {
        QTest::addColumn<Call>("call");

        static int32_t outInt;
        static CrdPrm prm;
        QTest::newRow("crd 3") << Call([] { return MQN_CrdSpace(1, 3, &outInt, 0); });
        QTest::newRow("dimension 6") << Call([] {
            prm = twoAxisPrm();
            prm.dimension = 6;
            return MQN_SetCrdPrm(1, 1, &prm);
        });
        QTest::newRow("map base 13") << Call([] { return MQN_SetCrdMapBase(1, 1, 13); });
        QTest::newRow("start mask for crd 3") << Call([] { return MQN_CrdStart(1, 4, 0); });
        QTest::newRow("laser channel 4") << Call([] { return MQN_BufLaserOnEx(1, 1, 0, 4); });
        // Arcs, from the origin, in pulses.
        QTest::newRow("radius shorter than half the chord")
            << Call([] { return MQN_ArcXYR(1, 1, 2000, 0, 999, 0, 1, 1, 0, 0); });
        QTest::newRow("end point off the centre's circle")
            << Call([] { return MQN_ArcXYC(1, 1, 2000, 200, 1000, 0, 1, 1, 1, 0, 0); });
        QTest::newRow("direction 2")
            << Call([] { return MQN_ArcXYC(1, 1, 2000, 0, 1000, 0, 2, 1, 1, 0, 0); });
        constexpr double infinite = std::numeric_limits<double>::infinity();
        constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("speed infinite")
            << Call([] { return MQN_LnXY(1, 1, 100, 0, infinite, 1, 0, 0); });
        QTest::newRow("centre not a number")
            << Call([] { return MQN_ArcXYC(1, 1, 2000, 0, notANumber, 0, 1, 1, 1, 0, 0); });
    }

    void refusedCallsChangeNothing()
    {
        QFETCH(Call, call);

        setUpCrd();
        QCOMPARE(call(), short(7));
        QCOMPARE(MQN_CrdDataEx(1, 1, nullptr, 0), short(0));
        QCOMPARE(space(), 4096);
        CrdPrm prm;
        QCOMPARE(MQN_GetCrdPrm(1, 1, &prm), short(0));
        QCOMPARE(prm.dimension, short(3));
        short base = 0;
        MQN_GetCrdMapBase(1, 1, &base);
        QCOMPARE(base, short(1));
    }

    void fullFifoRefusesAndClearEmptiesTheNamedOne()
    {
        rvsim_configure(0, 0, 0, 0, 4);
        rvsim_use_manual_clock(1);
        const CrdPrm prm = twoAxisPrm();
        QCOMPARE(MQN_SetCrdPrm(1, 1, &prm), short(0));
        QCOMPARE(MQN_SetCrdPrm(1, 2, &prm), short(0));
        for (int i = 1; i <= 4; ++i)
            QCOMPARE(MQN_LnXY(1, 1, i * 100, 0, 10, 1, 0, 0), short(0));
        QCOMPARE(MQN_BufDelay(1, 1, 10, 0), short(1));
        int32_t remainder = -1;
        QCOMPARE(MQN_GetRemainderSegNum(1, 1, &remainder, 0), short(0));
        QCOMPARE(remainder, 4);
        QCOMPARE(space(), 0);
        MQN_BufDelay(1, 1, 5, 1);
        MQN_BufDelay(1, 2, 5, 0);

        QCOMPARE(MQN_CrdClear(1, 1, 1), short(0)); // crd 1, FIFO 1
        QCOMPARE(space(1, 0), 0);
        QCOMPARE(space(1, 1), 4);
        QCOMPARE(space(2, 0), 3);
        QCOMPARE(MQN_CrdClear(1, 3, 0), short(0)); // both, FIFO 0
        QCOMPARE(space(1, 0), 4);
        QCOMPARE(space(2, 0), 4);
    }

    void lookAheadQueueFillsTheFifo()
    {
        rvsim_configure(0, 0, 0, 0, 8);
        rvsim_use_manual_clock(1);
        setUpCrd(4);
        for (int i = 1; i <= 12; ++i)
            QCOMPARE(MQN_LnXYEx(1, 1, i, 0, 100, 10000, i, 0, 0), short(0));
        QCOMPARE(MQN_LnXYEx(1, 1, 13, 0, 100, 10000, 13, 0, 0), short(1)); // nowhere to go
        QCOMPARE(space(), 0);
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

    void countersBeforeDuringAndAfter()
    {
        setUpCrd();
        // Three 10 mm lines at 100 mm/s with 10 ms ramps, each stopping: 110 ms apiece.
        QCOMPARE(MQN_LnXYG0Ex(1, 1, 10, 0, 100, 10000, 11, 0, 0), short(0));
        QCOMPARE(MQN_BufIOEx(1, 1, 12, 0x1, 0x1, 0), short(0));
        QCOMPARE(MQN_BufDelayEx(1, 1, 0, 0), short(0));
        QCOMPARE(MQN_LnXYG0Ex(1, 1, 10, 10, 100, 10000, 12, 0, 0), short(0));
        QCOMPARE(MQN_BufDelayEx(1, 1, 0, 0), short(0));
        QCOMPARE(MQN_LnXYG0Ex(1, 1, 0, 10, 100, 10000, 13, 0, 0), short(0));

        // Free space, commands left, user segment number, segments completed, running.
        auto counters = [] {
            int32_t remainder = 0, segNum = 0, completed = 0;
            short run = 0;
            MQN_GetRemainderSegNum(1, 1, &remainder, 0);
            MQN_GetUserSegNumWN(1, 1, &segNum, 0);
            MQN_CrdStatus(1, 1, &run, &completed, 0);
            return QList<int>{space(), remainder, segNum, completed, run};
        };
        QCOMPARE(counters().mid(0, 2), (QList<int>{4096 - 2, 2})); // four held back
        flushAndStart();
        QCOMPARE(counters(), (QList<int>{4096 - 6, 6, 11, 0, 1}));
        rvsim_advance_ms(150); // into the second line
        QCOMPARE(counters(), (QList<int>{4096 - 3, 3, 12, 3, 1}));
        rvsim_advance_ms(200);
        QCOMPARE(counters(), (QList<int>{4096, 0, 13, 6, 0}));
    }

    void arcPointsLieOnTheCircle_data()
    {
        QTest::addColumn<Call>("arc");
        QTest::addColumn<int>("axisA");
        QTest::addColumn<int>("axisB");
        QTest::addColumn<QPointF>("centre");
        QTest::addColumn<double>("radius");
        QTest::addColumn<QPointF>("end");

        // Every arc starts at the origin; centres and radii in pulses.
        QTest::newRow("XY centre, counter-clockwise half circle")
            << Call([] { return MQN_ArcXYC(1, 1, 2000, 0, 1000, 0, 1, 2, 0.01, 0, 0); }) << 0 << 1
            << QPointF(1000, 0) << 1000.0 << QPointF(2000, 0);
        QTest::newRow("YZ centre, full circle")
            << Call([] { return MQN_ArcYZC(1, 1, 0, 0, 0, 500, 0, 2, 0.01, 0, 0); }) << 1 << 2
            << QPointF(0, 500) << 500.0 << QPointF(0, 0);
        QTest::newRow("ZX radius in millimetres, X first")
            << Call([] { return MQN_ArcZXREx(1, 1, 1, 1, 1, 0, 200, 2000, 7, 0, 0); }) << 2 << 0
            << QPointF(1000, 0) << 1000.0 << QPointF(1000, 1000);
    }

    void arcPointsLieOnTheCircle()
    {
        QFETCH(Call, arc);
        QFETCH(int, axisA);
        QFETCH(int, axisB);
        QFETCH(QPointF, centre);
        QFETCH(double, radius);
        QFETCH(QPointF, end);

        setUpCrd();
        rvsim_path_enable(1);
        QCOMPARE(arc(), short(0));
        flushAndStart();
        runToEnd();
        QVERIFY(rvsim_path_count() >= 6);
        double lastTime = -1;
        QPointF last;
        for (int i = 0; i < rvsim_path_count(); ++i) {
            short crd;
            double time, position[5];
            rvsim_path_point(i, &crd, &time, position);
            last = QPointF(position[axisA], position[axisB]);
            const double distance = std::hypot(last.x() - centre.x(), last.y() - centre.y());
            QVERIFY2(std::abs(distance - radius) < 1e-6, qPrintable(QString::number(distance)));
            QCOMPARE(position[3 - axisA - axisB], 0.0);
            QVERIFY(time >= lastTime);
            lastTime = time;
        }
        QCOMPARE(last, end);
    }

    // A motion made where a cleared one lay keeps nothing of it: a plain line in pulses, in the
    // place of a look-ahead arc in millimetres, runs straight to its own end.
    void aMotionWhereAClearedOneLayStartsAnew()
    {
        setUpCrd();
        QCOMPARE(MQN_ArcXYCEx(1, 1, 2, 0, 1, 0, 1, 10, 100, 1, 0, 0), short(0));
        QCOMPARE(MQN_CrdClear(1, 1, 0), short(0));
        QCOMPARE(MQN_LnXY(1, 1, 3000, 0, 10, 1, 0, 0), short(0));
        flushAndStart();
        rvsim_advance_ms(150);
        QCOMPARE_GT(positionMm(1), 0.5);
        QCOMPARE_LT(positionMm(1), 2.5);
        QCOMPARE(positionMm(2), 0.0);
        runToEnd();
        QCOMPARE(positionMm(1), 3.0);
        QCOMPARE(positionMm(2), 0.0);
    }

    void smoothStopDeceleratesAndStartGoesOn()
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
        rvsim_advance_ms(110);
        QCOMPARE(runState(), short(0));
        QVERIFY2(std::abs(positionMm(1) - 50) < 1e-9, // braked over v^2/2a = 5 mm
                 qPrintable(QString::number(positionMm(1))));
        int32_t remainder = 0;
        MQN_GetRemainderSegNum(1, 1, &remainder, 0);
        QCOMPARE(remainder, 2);

        QCOMPARE(MQN_CrdStart(1, 1, 0), short(0));
        const double took = runToEnd();
        QCOMPARE(positionMm(1), 100.0);
        // 50 mm from standstill to standstill: 0.1 s ramps, 0.4 s at speed, then the 10 ms delay.
        QVERIFY2(std::abs(took - 610) <= 1, qPrintable(QString::number(took)));
    }

    // Off the manual clock, status queries alone see time pass: the run goes on to its end, and
    // a profile moving on its own goes on to its target after the run has ended.
    void queriesAloneSeeTimePass()
    {
        rvsim_use_manual_clock(0);
        setUpCrd();
        // A move of profile 4 that the run does not wait for (0.5 s), then a 10 mm line (0.2 s).
        QCOMPARE(MQN_BufMoveEx(1, 1, 4, 50000, 100, 10, 0, 0), short(0));
        QCOMPARE(MQN_LnXYEx(1, 1, 10, 0, 100, 1000, 1, 0, 0), short(0));
        flushAndStart();
        QTRY_COMPARE_WITH_TIMEOUT(runState(), short(0), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(positionMm(4), 50.0, 5000);
        QCOMPARE(positionMm(1), 10.0);
    }

    // A motion that reaches a FIFO run dry begins at once: a query at that very instant sees it.
    void motionReachingAStarvedFifoBeginsAtOnce()
    {
        setUpCrd(2);
        QCOMPARE(MQN_LnXYEx(1, 1, 1, 0, 100, 1000, 1, 0, 0), short(0));
        QCOMPARE(MQN_CrdStart(1, 1, 0), short(0));
        rvsim_advance_ms(10); // the first line still waits in the look-ahead
        for (int32_t segment = 2; segment <= 3; ++segment)
            QCOMPARE(MQN_LnXYEx(1, 1, segment, 0, 100, 1000, segment, 0, 0), short(0));
        int32_t executing = 0;
        QCOMPARE(MQN_GetUserSegNumWN(1, 1, &executing, 0), short(0));
        QCOMPARE(executing, 1);
    }

    // A host that refills at the end of every wait, and one that lets those with less room than
    // a full FIFO pass: the motions held for what the first had queued by then, the paths are
    // the same to the last bit.
    void hostWaitsPlanAsRefillingAtEveryWait()
    {
        RvsimHostWaits waits{10, 640, 0, 1e9, 1};
        RvsimHostWait state{};
        QCOMPARE(rvsim_wait_as_host(1, 3, 0, &waits, &state), short(7));
        QCOMPARE(rvsim_wait_as_host(1, 1, 0, &waits, nullptr), short(7));
        int holds = 0;
        const auto everyWait = pathOfHostStream(300, waits, holds);
        QCOMPARE(holds, 0);
        waits.refillPlaces = 16;
        QCOMPARE(pathOfHostStream(300, waits, holds), everyWait);
        QCOMPARE_GT(holds, 10);
        QCOMPARE(everyWait.size(), std::size_t(2 * 300));
        rvsim_use_manual_clock(0);
        QCOMPARE(rvsim_wait_as_host(1, 1, 0, &waits, &state), short(7));
    }

    // Two 10 mm moves there and back at 50 mm/s and 500 mm/s^2, each to a full stop (0.3 s), and
    // a 200 ms dwell between them.
    void timeLeftIsThePlannersTime()
    {
        setUpCrd(4, 1e-9);
        QCOMPARE(rvsim_time_left_ms(1, 1), 0.0);
        QCOMPARE(MQN_LnXYEx(1, 1, 10, 0, 50, 500, 1, 0, 0), short(0));
        QCOMPARE(MQN_BufDelayEx(1, 1, 200, 0), short(0));
        QCOMPARE(MQN_LnXYEx(1, 1, 0, 0, 50, 500, 2, 0, 0), short(0));
        flushAndStart();
        QCOMPARE_LT(std::abs(rvsim_time_left_ms(1, 1) - 800), 1e-9);
        rvsim_advance_ms(550);
        QCOMPARE_LT(std::abs(rvsim_time_left_ms(1, 1) - 250), 1e-9);
        // Played out on a copy: the run itself goes on as before (to within the 1 ms step the run
        // is played in; the manual clock starts where the wall clock had got to at the switch).
        QCOMPARE_LE(std::abs(runToEnd() - 250), 1.0);
        QCOMPARE(rvsim_time_left_ms(1, 1), 0.0);
    }
};

QTEST_MAIN(TestSimulator)
#include "tst_simulator.moc"
