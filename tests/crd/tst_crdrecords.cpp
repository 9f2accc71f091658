#include "crd/CrdRecords.h"

#include <QTest>

#include <cstring>
#include <limits>
#include <memory>

using Profiles = QList<int>;
using Entries = QList<int>;

namespace {

CrdFormParams paramsOf(short dimension)
{
    CrdFormParams params;
    params.dimension = dimension;
    params.synVelMax = 1000;
    params.synAccMax = 5000;
    params.evenTime = 25;
    return params;
}

Entries profileEntries(const CrdPrm& prm)
{
    Entries entries;
    for (short entry : prm.profile)
        entries << entry;
    return entries;
}

struct ProfileArray
{
    int values[5];
};

ProfileArray arrayOf(const Profiles& profiles)
{
    ProfileArray array{};
    for (int i = 0; i < 5; ++i)
        array.values[i] = profiles.value(i, 1);
    return array;
}

std::unique_ptr<HostAxisTable> tableWithFactors()
{
    auto table = std::make_unique<HostAxisTable>();
    *table = HostAxisTable{};
    for (int core = 0; core < 16; ++core) {
        for (int profile = 0; profile < 16; ++profile) {
            table->pulsesPerMm[core][profile] = 100 + profile;
            table->velocityFactor[core][profile] = 10 + profile;
            table->accelerationFactor[core][profile] = 0.5 + profile;
        }
    }
    return table;
}

} // namespace

class TestCrdRecords : public QObject
{
    Q_OBJECT

private slots:
    void profileTable_data();
    void profileTable();
    void spanOfEightIsRefused();
    void speedsUseTheXProfile();
    void origin_data();
    void origin();
    void originOffLeavesZeros();
    void outOfRange_data();
    void outOfRange();
    void withoutHostTableFactorsAreOne();
    void lookAheadRecord();
    void truncation_data();
    void truncation();
};

void TestCrdRecords::profileTable_data()
{
    QTest::addColumn<int>("dimension");
    QTest::addColumn<Profiles>("profiles");
    QTest::addColumn<int>("mapBase");
    QTest::addColumn<Entries>("entries");

    QTest::newRow("X on 3, Y on 4, Z on 5")
        << 3 << Profiles{3, 4, 5} << 3 << Entries{1, 2, 3, 0, 0, 0, 0, 0};
    QTest::newRow("X on 5, Y on 2") << 2 << Profiles{5, 2} << 2 << Entries{2, 0, 0, 1, 0, 0, 0, 0};
    QTest::newRow("the later axis wins a shared profile")
        << 3 << Profiles{2, 2, 3} << 2 << Entries{2, 3, 0, 0, 0, 0, 0, 0};
    QTest::newRow("a span of 7 fits")
        << 2 << Profiles{1, 8} << 1 << Entries{1, 0, 0, 0, 0, 0, 0, 2};
    QTest::newRow("axes beyond the dimension are ignored")
        << 2 << Profiles{2, 3, 4, 12, 16} << 2 << Entries{1, 2, 0, 0, 0, 0, 0, 0};
    QTest::newRow("five axes from profile 10")
        << 5 << Profiles{14, 13, 12, 11, 10} << 10 << Entries{5, 4, 3, 2, 1, 0, 0, 0};
}

void TestCrdRecords::profileTable()
{
    QFETCH(int, dimension);
    QFETCH(Profiles, profiles);
    QFETCH(int, mapBase);
    QFETCH(Entries, entries);

    CrdPrm prm;
    const auto table = tableWithFactors();
    const CrdRecordOutcome outcome
        = BuildCrdRecord(paramsOf(short(dimension)), arrayOf(profiles).values, 1, table.get(), prm);
    QCOMPARE(outcome.problem, CrdRecordProblem::None);
    QCOMPARE(outcome.mapBase, short(mapBase));
    QCOMPARE(profileEntries(prm), entries);
    QCOMPARE(prm.dimension, short(dimension));
    QCOMPARE(prm.evenTime, short(25));
}

void TestCrdRecords::spanOfEightIsRefused()
{
    CrdPrm prm;
    std::memset(&prm, 0x5a, sizeof prm);
    const auto table = tableWithFactors();
    const CrdRecordOutcome outcome
        = BuildCrdRecord(paramsOf(2), arrayOf({1, 9}).values, 1, table.get(), prm);
    QCOMPARE(outcome.problem, CrdRecordProblem::SpanTooLarge);

    // Only the dimension and the smoothing time were written, on zeros.
    CrdPrm expected;
    std::memset(&expected, 0, sizeof expected);
    expected.dimension = 2;
    expected.evenTime = 25;
    QCOMPARE(std::memcmp(&prm, &expected, sizeof prm), 0);
}

void TestCrdRecords::speedsUseTheXProfile()
{
    CrdPrm prm;
    const auto table = tableWithFactors();
    table->velocityFactor[1][4] = 2; // core 2, profile 5
    table->accelerationFactor[1][4] = 0.001;
    QCOMPARE(BuildCrdRecord(paramsOf(2), arrayOf({5, 2}).values, 2, table.get(), prm).problem,
             CrdRecordProblem::None);
    QCOMPARE(prm.synVelMax, 2000.0);
    QCOMPARE(prm.synAccMax, 5.0);
}

void TestCrdRecords::origin_data()
{
    QTest::addColumn<double>("origin");
    QTest::addColumn<double>("pulsesPerMm");
    QTest::addColumn<int>("pulses");

    QTest::newRow("0.5 mm at 3 pulses per mm") << 0.5 << 3.0 << 1;
    QTest::newRow("-0.5 mm at 3 pulses per mm") << -0.5 << 3.0 << -1;
    QTest::newRow("whole pulses") << 2.0 << 1000.0 << 2000;
    QTest::newRow("beyond 32 bits saturates") << 1e9 << 1000.0 << std::numeric_limits<int>::max();
}

void TestCrdRecords::origin()
{
    QFETCH(double, origin);
    QFETCH(double, pulsesPerMm);
    QFETCH(int, pulses);

    // Dimension 2 with A on profile 12: A is outside the map but its origin is converted with
    // profile 12's factor.
    CrdFormParams params = paramsOf(2);
    params.setOriginFlag = 1;
    for (double& position : params.originPos)
        position = origin;
    const auto table = tableWithFactors();
    table->pulsesPerMm[0][11] = pulsesPerMm;
    table->pulsesPerMm[0][1] = pulsesPerMm;
    CrdPrm prm;
    QCOMPARE(BuildCrdRecord(params, arrayOf({2, 3, 4, 12, 1}).values, 1, table.get(), prm).problem,
             CrdRecordProblem::None);
    QCOMPARE(prm.setOriginFlag, short(1));
    QCOMPARE(prm.originPos[0], pulses);
    QCOMPARE(prm.originPos[3], pulses);
    QCOMPARE(profileEntries(prm), (Entries{1, 2, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(prm.originPos[5], 0);
}

void TestCrdRecords::originOffLeavesZeros()
{
    CrdFormParams params = paramsOf(3);
    params.originPos[0] = 5;
    CrdPrm prm;
    const auto table = tableWithFactors();
    BuildCrdRecord(params, arrayOf({2, 3, 4}).values, 1, table.get(), prm);
    QCOMPARE(prm.setOriginFlag, short(0));
    for (int32_t position : prm.originPos)
        QCOMPARE(position, 0);
}

void TestCrdRecords::outOfRange_data()
{
    QTest::addColumn<int>("core");
    QTest::addColumn<Profiles>("profiles");
    QTest::addColumn<int>("dimension");
    QTest::addColumn<bool>("origin");
    QTest::addColumn<CrdRecordProblem>("problem");
    QTest::addColumn<int>("axis");

    QTest::newRow("core 0") << 0 << Profiles{2, 3, 4} << 3 << false
                            << CrdRecordProblem::CoreOutOfRange << -1;
    QTest::newRow("core 17") << 17 << Profiles{2, 3, 4} << 3 << false
                             << CrdRecordProblem::CoreOutOfRange << -1;
    QTest::newRow("X without a profile")
        << 1 << Profiles{0, 3, 4} << 3 << false << CrdRecordProblem::ProfileOutOfRange << 0;
    QTest::newRow("Y on profile 17")
        << 1 << Profiles{10, 17, 12} << 3 << false << CrdRecordProblem::ProfileOutOfRange << 1;
    QTest::newRow("C on 17 outside the dimension")
        << 1 << Profiles{2, 3, 4, 1, 17} << 3 << false << CrdRecordProblem::None << -1;
    QTest::newRow("C on 17 with an origin")
        << 1 << Profiles{2, 3, 4, 1, 17} << 3 << true << CrdRecordProblem::ProfileOutOfRange << 4;
    QTest::newRow("X on 16 is the last covered")
        << 16 << Profiles{16, 15} << 2 << false << CrdRecordProblem::None << -1;
}

void TestCrdRecords::outOfRange()
{
    QFETCH(int, core);
    QFETCH(Profiles, profiles);
    QFETCH(int, dimension);
    QFETCH(bool, origin);
    QFETCH(CrdRecordProblem, problem);
    QFETCH(int, axis);

    CrdFormParams params = paramsOf(short(dimension));
    params.setOriginFlag = origin ? 1 : 0;
    CrdPrm prm;
    const auto table = tableWithFactors();
    const CrdRecordOutcome outcome
        = BuildCrdRecord(params, arrayOf(profiles).values, core, table.get(), prm);
    QCOMPARE(outcome.problem, problem);
    QCOMPARE(outcome.axis, axis);
}

void TestCrdRecords::withoutHostTableFactorsAreOne()
{
    CrdFormParams params = paramsOf(2);
    params.setOriginFlag = 1;
    params.originPos[1] = 7.9;
    CrdPrm prm;
    QCOMPARE(BuildCrdRecord(params, arrayOf({2, 3}).values, 1, nullptr, prm).problem,
             CrdRecordProblem::None);
    QCOMPARE(prm.synVelMax, 1000.0);
    QCOMPARE(prm.synAccMax, 5000.0);
    QCOMPARE(prm.originPos[1], 7);
}

void TestCrdRecords::lookAheadRecord()
{
    CrdFormParams params;
    params.N = 200.9;
    params.T = 0.01;
    params.RadiusRatio = 1;
    for (int axis = 0; axis < 8; ++axis) {
        params.VMax[axis] = 1000 + axis;
        params.AMax[axis] = 10000;
        params.DVMax[axis] = 5;
        params.Scale[axis] = 10000;
    }
    const LookAheadPrmEx record = BuildLookAheadRecord(params);

    LookAheadPrmEx expected;
    std::memset(&expected, 0, sizeof expected);
    expected.N = 200;
    expected.T = 0.01;
    expected.RadiusRatio = 1;
    for (int axis = 0; axis < 5; ++axis) {
        expected.VMax[axis] = 1000 + axis;
        expected.AMax[axis] = 10000;
        expected.DVMax[axis] = 5;
        expected.Scale[axis] = 10000;
        expected.axisMap[axis] = short(axis + 1);
    }
    expected.axisMap[5] = 6;
    QCOMPARE(std::memcmp(&record, &expected, sizeof record), 0);
}

void TestCrdRecords::truncation_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("truncated");
    QTest::newRow("down toward zero") << 2.9 << 2;
    QTest::newRow("up toward zero") << -2.9 << -2;
    QTest::newRow("too large") << 1e12 << std::numeric_limits<int>::max();
    QTest::newRow("too small") << -1e12 << std::numeric_limits<int>::min();
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0;
}

void TestCrdRecords::truncation()
{
    QFETCH(double, value);
    QFETCH(int, truncated);
    QCOMPARE(TruncateToInt32(value), truncated);
}

QTEST_MAIN(TestCrdRecords)
#include "tst_crdrecords.moc"
