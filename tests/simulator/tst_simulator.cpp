#include "rvsim.h"

#include "Journal.h"

#include <QTest>

#include <atomic>
#include <cstring>
#include <functional>
#include <thread>

Q_DECLARE_METATYPE(std::function<short()>)

namespace {

QString lastEntry()
{
    return QString::fromUtf8(rvsim_journal_entry(rvsim_journal_count() - 1));
}

CrdPrm twoAxisPrm()
{
    CrdPrm prm;
    std::memset(&prm, 0, sizeof prm);
    prm.dimension = 2;
    prm.profile[0] = 1;
    prm.profile[1] = 2;
    prm.synVelMax = 500;
    prm.synAccMax = 5;
    return prm;
}

} // namespace

class TestSimulator : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void journalIsOffAtPowerOnAndKeepsTheLatest();

    void injectedCallHasNoEffect();


    void invalidArguments_data();
    void invalidArguments();

    void fifoCapacityAndRefusal();
    void clearEmptiesTheNamedFifoOnly();
    void startNeedsSomethingQueued();

    void twoThreadsAtOnce();
};

void TestSimulator::init()
{
    rvsim_reset();
    rvsim_use_manual_clock(1);
    rvsim_journal_enable(1);
}

void TestSimulator::journalIsOffAtPowerOnAndKeepsTheLatest()
{
    rvsim_reset();
    MQN_InitIlc(1);
    QCOMPARE(rvsim_journal_count(), 0);

    rvsim_journal_enable(1);
    for (int i = 0; i < 1000005; ++i)
        MQN_BufDelay(1, 1, short(i % 1000), 0);
    QCOMPARE(rvsim_journal_count(), 1000000);
    QCOMPARE(QString::fromUtf8(rvsim_journal_entry(0)), QStringLiteral("MQN_BufDelay(1, 1, 5, 0)"));
    QCOMPARE(lastEntry(), QStringLiteral("MQN_BufDelay(1, 1, 4, 0)"));

    rvsim_journal_clear();
    QCOMPARE(rvsim_journal_count(), 0);
    rvsim_journal_enable(0);
    MQN_InitIlc(1);
    QCOMPARE(rvsim_journal_count(), 0);
}

void TestSimulator::injectedCallHasNoEffect()
{
    QCOMPARE(MQN_SetCrdJerk(1, 1, 2.5), short(0));
    rvsim_inject("MQN_SetCrdJerk", 1, 1);
    QCOMPARE(MQN_SetCrdJerk(1, 1, 9), short(1));
    double jerk = 0;
    QCOMPARE(MQN_GetCrdJerk(1, 1, &jerk), short(0));
    QCOMPARE(jerk, 2.5);

    const CrdPrm prm = twoAxisPrm();
    MQN_SetCrdPrm(1, 1, &prm);
    rvsim_inject("MQN_LnXY", -1, 1);
    QCOMPARE(MQN_LnXY(1, 1, 10, 10, 1, 1, 0, 0), short(-1));
    int32_t space = 0;
    MQN_CrdSpace(1, 1, &space, 0);
    QCOMPARE(space, 4096);
}

void TestSimulator::invalidArguments_data()
{
    QTest::addColumn<std::function<short()>>("operation");

    static short outShort;
    static int32_t outInt;
    static double outDouble;
    static CrdPrm prm;
    QTest::newRow("core 0") << std::function<short()>(
        [] { return MQN_CrdSpace(0, 1, &outInt, 0); });
    QTest::newRow("core 2") << std::function<short()>(
        [] { return MQN_CrdSpace(2, 1, &outInt, 0); });
    QTest::newRow("crd 0") << std::function<short()>([] { return MQN_CrdSpace(1, 0, &outInt, 0); });
    QTest::newRow("crd 3") << std::function<short()>([] { return MQN_CrdSpace(1, 3, &outInt, 0); });
    QTest::newRow("fifo -1") << std::function<short()>(
        [] { return MQN_CrdSpace(1, 1, &outInt, -1); });
    QTest::newRow("fifo 2") << std::function<short()>(
        [] { return MQN_CrdSpace(1, 1, &outInt, 2); });
    QTest::newRow("resource type 29")
        << std::function<short()>([] { return MQN_GetResCount(1, 29, &outShort); });
    QTest::newRow("null count") << std::function<short()>(
        [] { return MQN_GetResMax(1, RV_RES_CRD, nullptr); });
    QTest::newRow("null record") << std::function<short()>(
        [] { return MQN_GetCrdPrm(1, 1, nullptr); });
    QTest::newRow("null jerk") << std::function<short()>(
        [] { return MQN_GetCrdJerk(1, 1, nullptr); });
    QTest::newRow("null status run")
        << std::function<short()>([] { return MQN_CrdStatus(1, 1, nullptr, &outInt, 0); });
    QTest::newRow("null position")
        << std::function<short()>([] { return MQN_GetPrfPos(1, 1, nullptr, 1, nullptr); });
    QTest::newRow("profile 13") << std::function<short()>(
        [] { return MQN_GetPrfPos(1, 13, &outDouble, 1, nullptr); });
    QTest::newRow("profiles past the last")
        << std::function<short()>([] { return MQN_ZeroPos(1, 5, 9); });
    QTest::newRow("profile 0") << std::function<short()>([] { return MQN_ZeroPos(1, 0, 1); });
    QTest::newRow("dimension 6") << std::function<short()>([] {
        prm = CrdPrm();
        prm.dimension = 6;
        return MQN_SetCrdPrm(1, 1, &prm);
    });
    QTest::newRow("profile table names an axis beyond the dimension") << std::function<short()>([] {
        prm = CrdPrm();
        prm.dimension = 2;
        prm.profile[0] = 3;
        return MQN_SetCrdPrm(1, 1, &prm);
    });
    QTest::newRow("map base 0") << std::function<short()>(
        [] { return MQN_SetCrdMapBase(1, 1, 0); });
    QTest::newRow("map base 13") << std::function<short()>(
        [] { return MQN_SetCrdMapBase(1, 1, 13); });
    QTest::newRow("start mask 0") << std::function<short()>([] { return MQN_CrdStart(1, 0, 0); });
    QTest::newRow("start mask for crd 3")
        << std::function<short()>([] { return MQN_CrdStart(1, 4, 0); });
    QTest::newRow("clear mask negative")
        << std::function<short()>([] { return MQN_CrdClear(1, -1, 0); });
    QTest::newRow("digital output type 9")
        << std::function<short()>([] { return MQN_BufIO(1, 1, 9, 1, 1, 0); });
    QTest::newRow("analogue channel 13")
        << std::function<short()>([] { return MQN_BufDA(1, 1, 13, 1, 0); });
    QTest::newRow("negative delay")
        << std::function<short()>([] { return MQN_BufDelay(1, 1, -5, 0); });
    QTest::newRow("move of profile 13")
        << std::function<short()>([] { return MQN_BufMove(1, 1, 13, 100, 1, 1, 0, 0); });
    QTest::newRow("move without speed")
        << std::function<short()>([] { return MQN_BufMoveEx(1, 1, 1, 100, 0, 1, 0, 0); });
    QTest::newRow("limit type 2") << std::function<short()>(
        [] { return MQN_BufLmtsOn(1, 1, 1, 2, 0); });
    QTest::newRow("stop input type 6")
        << std::function<short()>([] { return MQN_BufSetStopIo(1, 1, 1, 0, 6, 0, 0); });
    QTest::newRow("laser channel 4")
        << std::function<short()>([] { return MQN_BufLaserOnEx(1, 1, 0, 4); });
    QTest::newRow("contour enable 2")
        << std::function<short()>([] { return MQN_SetCrdContourErrorControl(1, 1, 2, 1); });
    QTest::newRow("learning on crd 5") << std::function<short()>([] { return MQN_StartIlc(1, 5); });
}

void TestSimulator::invalidArguments()
{
    QFETCH(std::function<short()>, operation);

    QCOMPARE(operation(), short(7));
    // Nothing changed: the first coordinate system is still empty and unconfigured.
    int32_t space = 0;
    QCOMPARE(MQN_CrdSpace(1, 1, &space, 0), short(0));
    QCOMPARE(space, 4096);
    CrdPrm prm;
    QCOMPARE(MQN_GetCrdPrm(1, 1, &prm), short(0));
    QCOMPARE(prm.dimension, short(0));
    short base = 0;
    MQN_GetCrdMapBase(1, 1, &base);
    QCOMPARE(base, short(1));
}

void TestSimulator::fifoCapacityAndRefusal()
{
    rvsim_configure(0, 0, 0, 0, 4);
    rvsim_use_manual_clock(1);
    const CrdPrm prm = twoAxisPrm();
    QCOMPARE(MQN_SetCrdPrm(1, 1, &prm), short(0));
    for (int i = 1; i <= 4; ++i)
        QCOMPARE(MQN_LnXY(1, 1, i * 100, 0, 10, 1, 0, 0), short(0));
    QCOMPARE(MQN_BufDelay(1, 1, 10, 0), short(1));
    QCOMPARE(MQN_LnXY(1, 1, 900, 0, 10, 1, 0, 0), short(1));

    int32_t space = -1, remainder = -1;
    QCOMPARE(MQN_CrdSpace(1, 1, &space, 0), short(0));
    QCOMPARE(space, 0);
    QCOMPARE(MQN_GetRemainderSegNum(1, 1, &remainder, 0), short(0));
    QCOMPARE(remainder, 4);
    QCOMPARE(MQN_CrdSpace(1, 1, &space, 1), short(0));
    QCOMPARE(space, 4);

    QCOMPARE(MQN_CrdClear(1, 1, 0), short(0));
    QCOMPARE(MQN_CrdSpace(1, 1, &space, 0), short(0));
    QCOMPARE(space, 4);
}

void TestSimulator::clearEmptiesTheNamedFifoOnly()
{
    const CrdPrm prm = twoAxisPrm();
    MQN_SetCrdPrm(1, 1, &prm);
    MQN_SetCrdPrm(1, 2, &prm);
    MQN_BufDelay(1, 1, 5, 0);
    MQN_BufDelay(1, 1, 5, 1);
    MQN_BufDelay(1, 2, 5, 0);
    QCOMPARE(MQN_CrdClear(1, 1, 1), short(0)); // crd 1, FIFO 1
    int32_t space = 0;
    MQN_CrdSpace(1, 1, &space, 0);
    QCOMPARE(space, 4095);
    MQN_CrdSpace(1, 1, &space, 1);
    QCOMPARE(space, 4096);
    MQN_CrdSpace(1, 2, &space, 0);
    QCOMPARE(space, 4095);
    QCOMPARE(MQN_CrdClear(1, 3, 0), short(0)); // both, FIFO 0
    MQN_CrdSpace(1, 1, &space, 0);
    QCOMPARE(space, 4096);
    MQN_CrdSpace(1, 2, &space, 0);
    QCOMPARE(space, 4096);
}

void TestSimulator::startNeedsSomethingQueued()
{
    short run = -1;
    int32_t segment = -1;
    QCOMPARE(MQN_CrdStart(1, 1, 0), short(1));
    QCOMPARE(MQN_CrdStatus(1, 1, &run, &segment, 0), short(0));
    QCOMPARE(run, short(0));

    MQN_BufDelay(1, 1, 100, 1);
    QCOMPARE(MQN_CrdStart(1, 1, 0), short(1)); // FIFO 0 is still empty
    QCOMPARE(MQN_CrdStart(1, 1, 1), short(0)); // option bit 0: FIFO 1
    QCOMPARE(MQN_CrdStatus(1, 1, &run, &segment, 0), short(0));
    QCOMPARE(run, short(1));
    QCOMPARE(MQN_CrdClear(1, 1, 1), short(1)); // not while running

    const CrdPrm prm = twoAxisPrm();
    QCOMPARE(MQN_SetCrdPrm(1, 1, &prm), short(1)); // not while running
    QCOMPARE(MQN_Stop(1, 1, 0), short(0));         // crd 1 has no profiles yet: untouched
    QCOMPARE(MQN_CrdStatus(1, 1, &run, &segment, 0), short(0));
    QCOMPARE(run, short(1));

    rvsim_advance_ms(100);
    QCOMPARE(MQN_CrdStatus(1, 1, &run, &segment, 0), short(0));
    QCOMPARE(run, short(0));
    QCOMPARE(segment, 1);
}

void TestSimulator::twoThreadsAtOnce()
{
    rvsim_journal_enable(1);
    rvsim_use_manual_clock(0);
    rvsim_set_time_scale(1000);
    CrdPrm prm = twoAxisPrm();
    QCOMPARE(MQN_SetCrdPrm(1, 1, &prm), short(0));

    constexpr int lines = 20000;
    std::atomic<bool> done{false};
    std::atomic<int> calls{1}; // the coordinate-system record above
    int polls = 0;
    std::thread worker([&] {
        int sent = 0;
        while (sent < lines) {
            int32_t space = 0;
            MQN_CrdSpace(1, 1, &space, 0);
            ++calls;
            if (space > 0) {
                ++calls;
                if (MQN_LnXY(1, 1, (sent % 2) * 100, 0, 50, 5, 0, 0) == 0)
                    ++sent;
            }
            // Plain commands end the run when the FIFO drains: start again as a host would.
            short run = 1;
            int32_t segment;
            MQN_CrdStatus(1, 1, &run, &segment, 0);
            ++calls;
            if (run == 0 && sent % 500 == 0) {
                MQN_CrdStart(1, 1, 0);
                ++calls;
            }
        }
        done = true;
    });
    while (!done) {
        short run;
        int32_t segment, space, remainder, segNum;
        double pos;
        MQN_CrdStatus(1, 1, &run, &segment, 0);
        MQN_CrdSpace(1, 1, &space, 0);
        MQN_GetRemainderSegNum(1, 1, &remainder, 0);
        MQN_GetUserSegNumWN(1, 1, &segNum, 0);
        MQN_GetPrfPos(1, 1, &pos, 1, nullptr);
        QVERIFY(space >= 0 && space <= 4096);
        QVERIFY(pos >= -1e-6 && pos <= 100 + 1e-6);
        ++polls;
    }
    worker.join();
    QVERIFY(polls > 0);
    // Every call of both threads is in the journal, up to the latest million it keeps.
    QCOMPARE(rvsim_journal_count(), std::min(1000000, 5 * polls + calls.load()));
}

QTEST_MAIN(TestSimulator)
#include "tst_simulator.moc"
