// The virtual controller takes any argument: every operation, called many thousand times with
// values from the edges of their types and null pointers, answers with a code and never
// crashes (the sanitizer build checks for undefined behaviour too).
#include "rvsim.h"

#include "LookAheadCrd.h"

#include <QTest>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <vector>

namespace {

class Arguments
{
public:
    explicit Arguments(unsigned seed)
        : random(seed)
    {}

    short s()
    {
        static const short edges[] = {-32768, -1, 0, 1, 1, 1, 2, 3, 5, 7, 10, 12, 13, 30, 32767};
        return pick(edges);
    }
    int32_t i()
    {
        static const int32_t edges[]
            = {std::numeric_limits<int32_t>::min(), -1000, -1, 0, 1, 500, 1000,
               std::numeric_limits<int32_t>::max()};
        return pick(edges);
    }
    double d()
    {
        static const double edges[] = {std::numeric_limits<double>::quiet_NaN(),
                                       std::numeric_limits<double>::infinity(),
                                       -std::numeric_limits<double>::infinity(),
                                       std::numeric_limits<double>::max(),
                                       -std::numeric_limits<double>::max(),
                                       std::numeric_limits<double>::denorm_min(),
                                       -0.0,
                                       0.0,
                                       0.001,
                                       0.5,
                                       1,
                                       2,
                                       10,
                                       100,
                                       -100,
                                       1e6};
        return pick(edges);
    }
    template <typename T> T* p(T* valid) { return random() % 8 == 0 ? nullptr : valid; }
    unsigned next(unsigned bound) { return unsigned(random() % bound); }

private:
    template <typename T, std::size_t N> T pick(const T (&values)[N])
    {
        return values[random() % N];
    }

    std::mt19937 random;
};

// Storage for out-parameters and records, larger than any record.
struct Buffers
{
    short outShort[64];
    int32_t outInt[64];
    double outDouble[64];
    uint32_t clock;
    CrdPrm crdPrm;
    LookAheadPrmEx lookAhead;
    IlcErrorRecord ilc;
    CrdStatusEx status;
};

using Call = std::function<short(Arguments&, Buffers&)>;

std::vector<Call> everyOperation()
{
    using A = Arguments;
    using B = Buffers;
    return {
        [](A& a, B& b) { return MQN_GetResCount(a.s(), a.s(), a.p(b.outShort)); },
        [](A& a, B& b) { return MQN_GetResMax(a.s(), a.s(), a.p(b.outShort)); },
        [](A& a, B& b) {
            b.crdPrm.dimension = a.s();
            for (short& entry : b.crdPrm.profile)
                entry = short(a.next(7) - 1);
            b.crdPrm.synVelMax = a.d();
            b.crdPrm.synAccMax = a.d();
            b.crdPrm.setOriginFlag = a.s();
            for (int32_t& origin : b.crdPrm.originPos)
                origin = a.i();
            return MQN_SetCrdPrm(a.s(), a.s(), a.p(&b.crdPrm));
        },
        [](A& a, B& b) { return MQN_GetCrdPrm(a.s(), a.s(), a.p(&b.crdPrm)); },
        [](A& a, B&) { return MQN_SetCrdMapBase(a.s(), a.s(), a.s()); },
        [](A& a, B& b) { return MQN_GetCrdMapBase(a.s(), a.s(), a.p(b.outShort)); },
        [](A& a, B&) { return MQN_SetupLookAheadCrd(a.s(), a.s(), a.s()); },
        [](A& a, B& b) {
            b.lookAhead.N = a.i();
            b.lookAhead.T = a.d();
            for (int k = 0; k < 8; ++k) {
                b.lookAhead.VMax[k] = a.d();
                b.lookAhead.AMax[k] = a.d();
                b.lookAhead.DVMax[k] = a.d();
                b.lookAhead.Scale[k] = a.d();
            }
            return MQN_InitLookAheadEx(a.s(), a.s(), a.p(&b.lookAhead), a.s(), a.s(), a.s());
        },
        [](A& a, B& b) {
            return MQN_GetLookAheadParaEx(a.s(), a.s(), a.s(), a.p(&b.lookAhead), a.s());
        },
        [](A& a, B&) { return MQN_SetCrdJerk(a.s(), a.s(), a.d()); },
        [](A& a, B& b) { return MQN_GetCrdJerk(a.s(), a.s(), a.p(b.outDouble)); },
        [](A& a, B&) { return MQN_SetCrdContourErrorControl(a.s(), a.s(), a.s(), a.d()); },
        [](A& a, B& b) {
            return MQN_GetCrdContourErrorControl(a.s(), a.s(), a.p(b.outShort), a.p(b.outDouble));
        },
        [](A& a, B&) { return MQN_SetBlendingParaLa(a.s(), a.s(), a.s(), a.d(), a.d(), a.d()); },
        [](A& a, B& b) {
            return MQN_GetBlendingParaLa(a.s(), a.s(), a.p(b.outShort), a.p(b.outDouble),
                                         a.p(b.outDouble + 1), a.p(b.outDouble + 2));
        },
        [](A& a, B& b) { return MQN_CrdDataEx(a.s(), a.s(), a.p(b.outInt), a.s()); },
        [](A& a, B&) { return MQN_CrdStart(a.s(), a.s(), a.s()); },
        [](A& a, B&) { return MQN_CrdClear(a.s(), a.s(), a.s()); },
        [](A& a, B&) { return MQN_Stop(a.s(), a.i(), a.i()); },
        [](A& a, B& b) {
            return MQN_CrdStatus(a.s(), a.s(), a.p(b.outShort), a.p(b.outInt), a.s());
        },
        [](A& a, B& b) { return MQN_CrdStatusEx(a.s(), a.s(), a.p(&b.status), a.s()); },
        [](A& a, B& b) { return MQN_CrdSpace(a.s(), a.s(), a.p(b.outInt), a.s()); },
        [](A& a, B& b) { return MQN_GetRemainderSegNum(a.s(), a.s(), a.p(b.outInt), a.s()); },
        [](A& a, B& b) { return MQN_GetUserSegNumWN(a.s(), a.s(), a.p(b.outInt), a.s()); },
        [](A& a, B& b) {
            return MQN_GetPrfPos(a.s(), a.s(), a.p(b.outDouble), short(a.next(70) - 2),
                                 a.p(&b.clock));
        },
        [](A& a, B&) { return MQN_ZeroPos(a.s(), a.s(), a.s()); },
        [](A& a, B&) { return MQN_InitIlc(a.s()); },
        [](A& a, B&) { return MQN_StartIlc(a.s(), a.s()); },
        [](A& a, B& b) { return MQN_StopIlc(a.s(), a.s(), a.p(&b.ilc)); },
        [](A& a, B&) {
            return MQN_LoadIlcFile(a.s(), a.s(), a.next(2) ? "/no/such/file" : nullptr);
        },
        [](A& a, B&) { return MQN_LnXY(a.s(), a.s(), a.i(), a.i(), a.d(), a.d(), a.d(), a.s()); },
        [](A& a, B&) { return MQN_LnXYG0(a.s(), a.s(), a.i(), a.i(), a.d(), a.d(), a.s()); },
        [](A& a, B&) {
            return MQN_LnXYZ(a.s(), a.s(), a.i(), a.i(), a.i(), a.d(), a.d(), a.d(), a.s());
        },
        [](A& a, B&) {
            return MQN_LnXYZG0(a.s(), a.s(), a.i(), a.i(), a.i(), a.d(), a.d(), a.s());
        },
        [](A& a, B&) {
            return MQN_LnXYZA(a.s(), a.s(), a.i(), a.i(), a.i(), a.i(), a.d(), a.d(), a.d(), a.s());
        },
        [](A& a, B&) {
            return MQN_LnXYZAG0(a.s(), a.s(), a.i(), a.i(), a.i(), a.i(), a.d(), a.d(), a.s());
        },
        [](A& a, B&) {
            return MQN_ArcXYR(a.s(), a.s(), a.i(), a.i(), a.d(), a.s(), a.d(), a.d(), a.d(), a.s());
        },
        [](A& a, B&) {
            return MQN_ArcYZR(a.s(), a.s(), a.i(), a.i(), a.d(), a.s(), a.d(), a.d(), a.d(), a.s());
        },
        [](A& a, B&) {
            return MQN_ArcZXR(a.s(), a.s(), a.i(), a.i(), a.d(), a.s(), a.d(), a.d(), a.d(), a.s());
        },
        [](A& a, B&) {
            return MQN_ArcXYC(a.s(), a.s(), a.i(), a.i(), a.d(), a.d(), a.s(), a.d(), a.d(), a.d(),
                              a.s());
        },
        [](A& a, B&) {
            return MQN_ArcYZC(a.s(), a.s(), a.i(), a.i(), a.d(), a.d(), a.s(), a.d(), a.d(), a.d(),
                              a.s());
        },
        [](A& a, B&) {
            return MQN_ArcZXC(a.s(), a.s(), a.i(), a.i(), a.d(), a.d(), a.s(), a.d(), a.d(), a.d(),
                              a.s());
        },
        [](A& a, B&) {
            return MQN_LnXYEx(a.s(), a.s(), a.d(), a.d(), a.d(), a.d(), a.i(), a.s(), a.s());
        },
        [](A& a, B&) {
            return MQN_LnXYG0Ex(a.s(), a.s(), a.d(), a.d(), a.d(), a.d(), a.i(), a.s(), a.s());
        },
        [](A& a, B&) {
            return MQN_LnXYZEx(a.s(), a.s(), a.d(), a.d(), a.d(), a.d(), a.d(), a.i(), a.s(),
                               a.s());
        },
        [](A& a, B&) {
            return MQN_LnXYZG0Ex(a.s(), a.s(), a.d(), a.d(), a.d(), a.d(), a.d(), a.i(), a.s(),
                                 a.s());
        },
        [](A& a, B&) {
            return MQN_LnXYZAEx(a.s(), a.s(), a.d(), a.d(), a.d(), a.d(), a.d(), a.d(), a.i(),
                                a.s(), a.s());
        },
        [](A& a, B&) {
            return MQN_LnXYZAG0Ex(a.s(), a.s(), a.d(), a.d(), a.d(), a.d(), a.d(), a.d(), a.i(),
                                  a.s(), a.s());
        },
        [](A& a, B&) {
            return MQN_ArcXYREx(a.s(), a.s(), a.d(), a.d(), a.d(), a.s(), a.d(), a.d(), a.i(),
                                a.s(), a.s());
        },
        [](A& a, B&) {
            return MQN_ArcYZREx(a.s(), a.s(), a.d(), a.d(), a.d(), a.s(), a.d(), a.d(), a.i(),
                                a.s(), a.s());
        },
        [](A& a, B&) {
            return MQN_ArcZXREx(a.s(), a.s(), a.d(), a.d(), a.d(), a.s(), a.d(), a.d(), a.i(),
                                a.s(), a.s());
        },
        [](A& a, B&) {
            return MQN_ArcXYCEx(a.s(), a.s(), a.d(), a.d(), a.d(), a.d(), a.s(), a.d(), a.d(),
                                a.i(), a.s(), a.s());
        },
        [](A& a, B&) {
            return MQN_ArcYZCEx(a.s(), a.s(), a.d(), a.d(), a.d(), a.d(), a.s(), a.d(), a.d(),
                                a.i(), a.s(), a.s());
        },
        [](A& a, B&) {
            return MQN_ArcZXCEx(a.s(), a.s(), a.d(), a.d(), a.d(), a.d(), a.s(), a.d(), a.d(),
                                a.i(), a.s(), a.s());
        },
        [](A& a, B&) { return MQN_BufIO(a.s(), a.s(), a.s(), a.s(), a.s(), a.s()); },
        [](A& a, B&) { return MQN_BufIOEx(a.s(), a.s(), a.s(), a.s(), a.s(), a.s()); },
        [](A& a, B&) { return MQN_BufDelay(a.s(), a.s(), a.s(), a.s()); },
        [](A& a, B&) { return MQN_BufDelayEx(a.s(), a.s(), a.s(), a.s()); },
        [](A& a, B&) { return MQN_BufDA(a.s(), a.s(), a.s(), a.s(), a.s()); },
        [](A& a, B&) { return MQN_BufDAEx(a.s(), a.s(), a.s(), a.s(), a.s()); },
        [](A& a, B&) {
            return MQN_BufMove(a.s(), a.s(), a.s(), a.i(), a.d(), a.d(), a.s(), a.s());
        },
        [](A& a, B&) {
            return MQN_BufMoveEx(a.s(), a.s(), a.s(), a.d(), a.d(), a.d(), a.s(), a.s());
        },
        [](A& a, B&) { return MQN_BufGear(a.s(), a.s(), a.s(), a.i(), a.s()); },
        [](A& a, B&) { return MQN_BufGearEx(a.s(), a.s(), a.s(), a.d(), a.s()); },
        [](A& a, B&) { return MQN_BufLmtsOn(a.s(), a.s(), a.s(), a.s(), a.s()); },
        [](A& a, B&) { return MQN_BufLmtsOff(a.s(), a.s(), a.s(), a.s(), a.s()); },
        [](A& a, B&) { return MQN_BufSetStopIo(a.s(), a.s(), a.s(), a.s(), a.s(), a.s(), a.s()); },
        [](A& a, B&) { return MQN_BufLaserOnEx(a.s(), a.s(), a.s(), a.s()); },
        [](A& a, B&) { return MQN_BufLaserOffEx(a.s(), a.s(), a.s(), a.s()); },
        [](A& a, B&) { return MQN_BufLaserFollowModeEx(a.s(), a.s(), a.s(), a.s(), a.s(), a.d()); },
        [](A& a, B&) {
            return MQN_BufLaserFollowRatioEx(a.s(), a.s(), a.d(), a.d(), a.d(), a.s(), a.s());
        },
        [](A& a, B&) { return MQN_BufLaserFollowOffEx(a.s(), a.s(), a.s(), a.s()); },
        [](A& a, B&) { return MQN_BufPosCompareStartEx(a.s(), a.s(), a.s(), a.s()); },
        [](A& a, B&) { return MQN_BufPosCompareStopEx(a.s(), a.s(), a.s(), a.s()); },
    };
}

// A coordinate system that accepts motion, so that random commands also run.
void setUpRunnableCrd()
{
    LookAheadCrd crd;
    crd.dimension = 5;
    crd.synAccMax = 10;
    crd.held = 3;
    crd.vMax = crd.aMax = crd.dvMax = crd.scale = 100;
    SetUpLookAheadCrd(crd);
}

} // namespace

class TestArguments : public QObject
{
    Q_OBJECT

private slots:
    void everyOperationIsDeclaredHere();
    void anyArgumentsAnswerWithACode_data();
    void anyArgumentsAnswerWithACode();
};

void TestArguments::everyOperationIsDeclaredHere()
{
    QCOMPARE(int(everyOperation().size()), 74);
}

void TestArguments::anyArgumentsAnswerWithACode_data()
{
    QTest::addColumn<unsigned>("seed");
    for (unsigned seed = 1; seed <= 16; ++seed)
        QTest::addRow("seed %u", seed) << seed;
}

void TestArguments::anyArgumentsAnswerWithACode()
{
    QFETCH(unsigned, seed);

    rvsim_reset();
    rvsim_use_manual_clock(1);
    rvsim_journal_enable(1);
    rvsim_path_enable(1);
    setUpRunnableCrd();
    const std::vector<Call> operations = everyOperation();
    Arguments arguments(seed);
    Buffers buffers;
    std::memset(&buffers, 0, sizeof buffers);
    for (int call = 0; call < 20000; ++call) {
        const short code
            = operations[arguments.next(unsigned(operations.size()))](arguments, buffers);
        QVERIFY2(code == 0 || code == 1 || code == 7, qPrintable(QString::number(code)));
        if (call % 50 == 0)
            rvsim_advance_ms(arguments.d() > 1 ? 1000 : 1);
    }
    rvsim_advance_ms(1e12);
    double pos[12];
    QCOMPARE(MQN_GetPrfPos(1, 1, pos, 12, nullptr), short(0));
    for (double p : pos)
        QVERIFY(std::isfinite(p));
}

QTEST_MAIN(TestArguments)
#include "tst_arguments.moc"
