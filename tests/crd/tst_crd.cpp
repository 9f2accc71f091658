// The coordinate system: its record built from the window's values, "Init Crd" and the parameter
// tree watched through the virtual controller's journal, the read-back, the blending file, and
// the settings file the window loads when it opens and saves when it closes.
#include "crd/Blending.h"
#include "crd/CrdRecords.h"

#include "WindowTest.h"

#include <QDir>
#include <QSettings>

#include <limits>

namespace WN = WidgetNames;
using Profiles = QList<int>;
using Entries = QList<int>;

namespace {

const QString closedRecord = QStringLiteral(
    "MQN_SetCrdPrm(1, 1, {dimension=3, profile=[1, 2, 3, 0, 0, 0, 0, 0], synVelMax=1000, "
    "synAccMax=5, evenTime=0, setOriginFlag=0, originPos=[0, 0, 0, 0, 0, 0, 0, 0]})");

const QString lookAheadRecord = QStringLiteral(
    "MQN_InitLookAheadEx(1, 1, {N=200, T=0.01, RadiusRatio=1, "
    "VMax=[1000, 1000, 1000, 1000, 1000, 0, 0, 0], "
    "AMax=[10000, 10000, 10000, 10000, 10000, 0, 0, 0], DVMax=[5, 5, 5, 5, 5, 0, 0, 0], "
    "Scale=[10000, 10000, 10000, 10000, 10000, 0, 0, 0], axisMap=[1, 2, 3, 4, 5, 6, 0, 0]}, "
    "0, 0, 0)");

CrdFormParams paramsOf(short dimension)
{
    CrdFormParams params;
    params.dimension = dimension;
    params.synVelMax = 1000;
    params.synAccMax = 5000;
    params.evenTime = 25;
    return params;
}

// Profiles of X, Y, Z, A, C; those not given are 1.
struct ProfileArray
{
    explicit ProfileArray(const Profiles& profiles)
    {
        for (int i = 0; i < 5; ++i)
            values[i] = profiles.value(i, 1);
    }
    int values[5];
};

// Distinct factors for every core and profile.
HostAxisTable tableWithFactors()
{
    HostAxisTable table{};
    for (int core = 0; core < HostAxisTable::cores; ++core) {
        for (int profile = 0; profile < HostAxisTable::profiles; ++profile) {
            table.pulsesPerMm[core][profile] = 100 + profile;
            table.velocityFactor[core][profile] = 10 + profile;
            table.accelerationFactor[core][profile] = 0.5 + profile;
        }
    }
    return table;
}

} // namespace

class TestCrd : public QObject
{
    Q_OBJECT

private slots:
    void init() { host = LinkedTestHostOnManualClock(); }

    void cleanup()
    {
        host.reset();
        form = nullptr;
    }

    void profileTable_data()
    {
        QTest::addColumn<int>("dimension");
        QTest::addColumn<Profiles>("profiles");
        QTest::addColumn<int>("mapBase");
        QTest::addColumn<Entries>("entries");

        QTest::newRow("X on 5, Y on 2")
            << 2 << Profiles{5, 2} << 2 << Entries{2, 0, 0, 1, 0, 0, 0, 0};
        QTest::newRow("the later axis wins a shared profile")
            << 3 << Profiles{2, 2, 3} << 2 << Entries{2, 3, 0, 0, 0, 0, 0, 0};
        QTest::newRow("a span of 7 fits")
            << 2 << Profiles{1, 8} << 1 << Entries{1, 0, 0, 0, 0, 0, 0, 2};
        QTest::newRow("axes beyond the dimension are ignored")
            << 2 << Profiles{2, 3, 4, 12, 16} << 2 << Entries{1, 2, 0, 0, 0, 0, 0, 0};
        QTest::newRow("five axes from profile 10")
            << 5 << Profiles{14, 13, 12, 11, 10} << 10 << Entries{5, 4, 3, 2, 1, 0, 0, 0};
    }

    void profileTable()
    {
        QFETCH(int, dimension);
        QFETCH(Profiles, profiles);
        QFETCH(int, mapBase);
        QFETCH(Entries, entries);

        CrdPrm prm;
        const HostAxisTable table = tableWithFactors();
        const CrdRecordOutcome outcome = BuildCrdRecord(
            paramsOf(short(dimension)), ProfileArray(profiles).values, 1, &table, prm);
        QCOMPARE(outcome.problem, CrdRecordProblem::None);
        QCOMPARE(outcome.mapBase, short(mapBase));
        QCOMPARE(Entries(std::begin(prm.profile), std::end(prm.profile)), entries);
        QCOMPARE(prm.dimension, short(dimension));
        QCOMPARE(prm.evenTime, short(25));
    }

    void outOfRange_data()
    {
        QTest::addColumn<int>("core");
        QTest::addColumn<Profiles>("profiles");
        QTest::addColumn<bool>("origin");
        QTest::addColumn<CrdRecordProblem>("problem");
        QTest::addColumn<int>("axis");

        const Profiles valid{2, 3, 4};
        QTest::newRow("core 0") << 0 << valid << false << CrdRecordProblem::CoreOutOfRange << -1;
        QTest::newRow("Y on profile 17")
            << 1 << Profiles{10, 17, 12} << false << CrdRecordProblem::ProfileOutOfRange << 1;
        QTest::newRow("C on 17 outside the dimension")
            << 1 << Profiles{2, 3, 4, 1, 17} << false << CrdRecordProblem::None << -1;
        QTest::newRow("C on 17 with an origin")
            << 1 << Profiles{2, 3, 4, 1, 17} << true << CrdRecordProblem::ProfileOutOfRange << 4;
    }

    void outOfRange()
    {
        QFETCH(int, core);
        QFETCH(Profiles, profiles);
        QFETCH(bool, origin);
        QFETCH(CrdRecordProblem, problem);
        QFETCH(int, axis);

        CrdFormParams params = paramsOf(3);
        params.setOriginFlag = origin ? 1 : 0;
        CrdPrm prm;
        const HostAxisTable table = tableWithFactors();
        const CrdRecordOutcome outcome
            = BuildCrdRecord(params, ProfileArray(profiles).values, core, &table, prm);
        QCOMPARE(outcome.problem, problem);
        QCOMPARE(outcome.axis, axis);
    }

    void origin_data()
    {
        QTest::addColumn<bool>("flag");
        QTest::addColumn<double>("origin");
        QTest::addColumn<double>("pulsesPerMm");
        QTest::addColumn<int>("pulses");

        QTest::newRow("0.5 mm at 3 pulses per mm") << true << 0.5 << 3.0 << 1;
        QTest::newRow("-0.5 mm at 3 pulses per mm") << true << -0.5 << 3.0 << -1;
        QTest::newRow("beyond 32 bits saturates")
            << true << 1e9 << 1000.0 << std::numeric_limits<int>::max();
        QTest::newRow("flag off leaves zeros") << false << 2.0 << 1000.0 << 0;
        QTest::newRow("not a number gives 0")
            << true << std::numeric_limits<double>::quiet_NaN() << 3.0 << 0;
    }

    void origin()
    {
        QFETCH(bool, flag);
        QFETCH(double, origin);
        QFETCH(double, pulsesPerMm);
        QFETCH(int, pulses);

        // Dimension 2 with A on profile 12: A is outside the map but its origin is converted with
        // profile 12's factor.
        CrdFormParams params = paramsOf(2);
        params.setOriginFlag = flag;
        for (double& position : params.originPos)
            position = origin;
        HostAxisTable table = tableWithFactors();
        table.pulsesPerMm[0][11] = pulsesPerMm;
        table.pulsesPerMm[0][1] = pulsesPerMm;
        CrdPrm prm;
        QCOMPARE(
            BuildCrdRecord(params, ProfileArray({2, 3, 4, 12, 1}).values, 1, &table, prm).problem,
            CrdRecordProblem::None);
        QCOMPARE(prm.setOriginFlag, short(flag));
        QCOMPARE(prm.originPos[0], pulses);
        QCOMPARE(prm.originPos[3], pulses);
        QCOMPARE(prm.originPos[5], 0);
    }

    void initSends_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("calls");

        const QStringList closed{"MQN_SetCrdMapBase(1, 1, 2)", closedRecord};
        QTest::newRow("closed: the record only") << "Close" << closed;
        QTest::newRow("open: the look-ahead set up, N truncated")
            << "Open"
            << closed
                   + QStringList{"MQN_SetupLookAheadCrd(1, 1, 0)", "MQN_SetCrdJerk(1, 1, 1)",
                                 "MQN_SetCrdContourErrorControl(1, 1, 0, 80)", lookAheadRecord};
    }

    void initSends()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, calls);

        open();
        chooseMode(mode);
        setText(WN::nEdit, QStringLiteral("200.9"));
        rvsim_journal_clear();
        pressInit();
        QCOMPARE(CommandJournal(), calls);
        QVERIFY(TestHost::Lines().isEmpty());
        QVERIFY(enabled(WN::bufferDataGroup));
        QVERIFY(enabled(WN::startCrdButton));
        QVERIFY(!enabled(WN::pauseButton));
        QVERIFY(!enabled(WN::restartButton));
    }

    void initStopsOrGoesOn_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("calls");
        QTest::addColumn<bool>("completed");

        QTest::newRow("record refused: goes on") << "MQN_SetCrdPrm" << 1 << 6 << true;
        QTest::newRow("look-ahead set-up fails: stops")
            << "MQN_SetupLookAheadCrd" << -1 << 3 << false;
        QTest::newRow("jerk fails: goes on") << "MQN_SetCrdJerk" << 7 << 6 << true;
        QTest::newRow("contour control fails: goes on")
            << "MQN_SetCrdContourErrorControl" << 8 << 6 << true;
        QTest::newRow("look-ahead init fails: stops") << "MQN_InitLookAheadEx" << 7 << 6 << false;
    }

    void initStopsOrGoesOn()
    {
        QFETCH(QString, failing);
        QFETCH(int, code);
        QFETCH(int, calls);
        QFETCH(bool, completed);

        open();
        chooseMode(QStringLiteral("Open"));
        rvsim_journal_clear();
        rvsim_inject(failing.toLatin1().constData(), short(code), 1);
        pressInit();
        QCOMPARE(CommandJournal().size(), calls);
        QCOMPARE(TestHost::Lines(), QStringList{QStringLiteral("%1 = %2").arg(failing).arg(code)});
        QCOMPARE(enabled(WN::bufferDataGroup), completed);
        QCOMPARE(enabled(WN::startCrdButton), completed);
    }

    void refusedRecordSendsNothing_data()
    {
        QTest::addColumn<int>("profiles");      // the virtual controller's
        QTest::addColumn<QList<int>>("chosen"); // X, Y profiles
        QTest::addColumn<double>("yPulses");    // Y's pulses per mm; 0: left as they are
        QTest::addColumn<double>("xVelocity");  // X's velocity factor; 0: left as it is
        QTest::addColumn<QString>("synVelMax"); // typed; empty: as the window starts
        QTest::addColumn<QString>("message");

        const QString noFactors
            = QStringLiteral("The host's axis table has no usable factors for core 1, profile 3.");
        QTest::newRow("profile 17") << 20 << QList<int>{17} << 0.0 << 0.0 << QString()
                                    << "The profile of axis X must lie between 1 and 16.";
        QTest::newRow("a span beyond 8") << 12 << QList<int>{1, 9} << 0.0 << 0.0 << QString()
                                         << "MaxAxisIndex - MinAxisIndex >8";
        const auto unusableY = [&noFactors](const char* name, double yPulses) {
            QTest::newRow(name) << 12 << QList<int>{} << yPulses << 0.0 << QString() << noFactors;
        };
        unusableY("unusable factors of Y", -1);
        // Finite, yet the values they give are infinite or next to nothing.
        unusableY("a huge factor of Y", 1e308);
        unusableY("a tiny factor of Y", 1e-300);
        unusableY("a denormal factor of Y", 4.9e-324);
        QTest::newRow("a speed that overflows through a usable factor")
            << 12 << QList<int>{} << 0.0 << 1e12 << "1e300"
            << "synVelMax and synAccMax do not convert with the host's factors for core 1, "
               "profile 2.";
    }

    void refusedRecordSendsNothing()
    {
        QFETCH(int, profiles);
        QFETCH(QList<int>, chosen);
        QFETCH(double, yPulses);
        QFETCH(double, xVelocity);
        QFETCH(QString, synVelMax);
        QFETCH(QString, message);

        rvsim_configure(0, 0, 0, profiles, 0);
        // X on profile 2 and Y on profile 3, as the window starts.
        if (yPulses != 0)
            host->axisTable.pulsesPerMm[0][2] = yPulses;
        if (xVelocity != 0)
            host->axisTable.velocityFactor[0][1] = xVelocity;
        open();
        for (int axis = 0; axis < chosen.size(); ++axis)
            combo(WN::perAxis(WN::profileCombo, axis))
                ->setCurrentText(QString::number(chosen[axis]));
        if (!synVelMax.isEmpty())
            setText(WN::synVelMaxEdit, synVelMax);
        {
            ModalBoxAnswerer answerer;
            pressInit();
            QCOMPARE(answerer.first().title, QStringLiteral("Error:"));
            QCOMPARE(answerer.first().text, message);
        }
        QVERIFY(CommandJournal().isEmpty());
        QVERIFY(!enabled(WN::bufferDataGroup));
    }

    // The look-ahead mode shows the tree and the scales, the origin flag the origins, the learning
    // switch its file, and the dimension enables the axes it counts.
    void switchesShowTheirControls()
    {
        open();
        const QString scale = WN::perAxis(WN::scaleEdit, 4);
        QVERIFY(!shown(WN::lookAheadTree) && !shown(scale));
        chooseMode(QStringLiteral("Open"));
        QVERIFY(shown(WN::lookAheadTree) && shown(scale) && shown(WN::perAxis(WN::scaleLabel, 4)));
        chooseMode(QStringLiteral("Close"));
        QVERIFY(!shown(WN::lookAheadTree) && !shown(scale));

        const QString origin = WN::perAxis(WN::originEdit, 4);
        host->find<QCheckBox>(WN::originFlagCheck)->setChecked(true);
        QVERIFY(shown(origin) && enabled(origin) && shown(WN::perAxis(WN::originLabel, 4)));
        host->find<QCheckBox>(WN::originFlagCheck)->setChecked(false);
        QVERIFY(!shown(origin) && !enabled(origin));

        QVERIFY(!shown(WN::openIlcFileButton));
        host->find<QCheckBox>(WN::ilcEnableCheck)->click();
        QVERIFY(shown(WN::openIlcFileButton) && shown(WN::ilcPathEdit));
        host->find<QCheckBox>(WN::ilcEnableCheck)->click();
        QVERIFY(!shown(WN::openIlcFileButton) && !shown(WN::ilcPathEdit));

        for (int dimension = 1; dimension <= 5; ++dimension) {
            host->choose(WN::dimensionCombo, dimension - 1);
            for (int axis = 0; axis < 5; ++axis) {
                QCOMPARE(enabled(WN::perAxis(WN::profileCombo, axis)), axis < dimension);
                QCOMPARE(enabled(WN::perAxis(WN::axisLabel, axis)), axis < dimension);
            }
        }
        QVERIFY(CommandJournal().isEmpty());
    }

    void readBack()
    {
        CrdPrm prm{};
        prm.dimension = 3;
        prm.profile[0] = 2; // map base 3: Y on profile 3, X on 4, Z on 6
        prm.profile[1] = 1;
        prm.profile[3] = 3;
        prm.synVelMax = 12.5;
        prm.synAccMax = 0.0625;
        prm.evenTime = 7;
        prm.setOriginFlag = 1;
        const int32_t origins[] = {10, -20, 30, 40, 50};
        std::copy(std::begin(origins), std::end(origins), prm.originPos);
        QCOMPARE(MQN_SetCrdMapBase(1, 1, 3), short(0));
        QCOMPARE(MQN_SetCrdPrm(1, 1, &prm), short(0));
        LookAheadPrmEx lookAhead{};
        lookAhead.N = 150;
        lookAhead.T = 0.02;
        lookAhead.RadiusRatio = 0.5;
        for (int axis = 0; axis < 5; ++axis) {
            lookAhead.Scale[axis] = 100 * (axis + 1) + 0.5;
            lookAhead.VMax[axis] = lookAhead.AMax[axis] = lookAhead.DVMax[axis] = 1;
        }
        QCOMPARE(MQN_SetupLookAheadCrd(1, 1, 0), short(0));
        QCOMPARE(MQN_InitLookAheadEx(1, 1, &lookAhead, 0, 0, 0), short(0));
        QCOMPARE(MQN_SetCrdJerk(1, 1, 0.25), short(0));

        open();
        QVERIFY(QMetaObject::invokeMethod(form, "OnGetLookAheadPrmBtnClicked"));

        QCOMPARE(combo(WN::dimensionCombo)->currentIndex(), 2);
        // Each combo takes the entry's index, the profile number minus the base.
        const int profileIndices[] = {1, 0, 3};
        for (int axis = 0; axis < 3; ++axis)
            QCOMPARE(combo(WN::perAxis(WN::profileCombo, axis))->currentIndex(),
                     profileIndices[axis]);
        QVERIFY(host->find<QCheckBox>(WN::originFlagCheck)->isChecked());
        const QList<QPair<QString, QString>> texts{{WN::synVelMaxEdit, "12.5"},
                                                   {WN::synAccMaxEdit, "0.0625"},
                                                   {WN::evenTimeEdit, "7"},
                                                   {WN::tEdit, "0.02"},
                                                   {WN::nEdit, "150"},
                                                   {WN::radiusRatioEdit, "0.5"},
                                                   {WN::jerkEdit, "0.25"},
                                                   {WN::perAxis(WN::vMaxEdit, 0), "1000"},
                                                   {WN::perAxis(WN::originEdit, 1), "-20"},
                                                   {WN::perAxis(WN::originEdit, 4), "50"},
                                                   {WN::perAxis(WN::scaleEdit, 0), "100.5"},
                                                   {WN::perAxis(WN::scaleEdit, 4), "500.5"}};
        for (const auto& [name, value] : texts)
            QCOMPARE(text(name), value);
        QCOMPARE(CommandJournal(),
                 (QStringList{"MQN_GetCrdPrm(1, 1, out)", "MQN_GetLookAheadParaEx(1, 1, 0, out, 0)",
                              "MQN_GetCrdJerk(1, 1, out)"}));
    }

    void failingReadBack_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("jerk");

        QTest::newRow("record read fails: nothing changes")
            << "MQN_GetCrdPrm" << QStringList{"MQN_GetCrdPrm(1, 1, out)"} << QString() << "1";
        QTest::newRow("look-ahead read fails: box, jerk still read")
            << "MQN_GetLookAheadParaEx"
            << QStringList{"MQN_GetCrdPrm(1, 1, out)", "MQN_GetLookAheadParaEx(1, 1, 0, out, 0)",
                           "MQN_GetCrdJerk(1, 1, out)"}
            << "MQN_GetLookAheadParaEx = 7\r\n----Parameter in command is error!"
            << "3";
    }

    void failingReadBack()
    {
        QFETCH(QString, failing);
        QFETCH(QStringList, calls);
        QFETCH(QString, box);
        QFETCH(QString, jerk);

        QCOMPARE(MQN_SetCrdJerk(1, 1, 3), short(0));
        open();
        const QString velocity = text(WN::synVelMaxEdit);
        const int dimension = combo(WN::dimensionCombo)->currentIndex();
        rvsim_inject(failing.toLatin1().constData(), 7, 1);
        {
            ModalBoxAnswerer answerer(box.isEmpty() ? 0 : 1);
            QVERIFY(QMetaObject::invokeMethod(form, "OnGetLookAheadPrmBtnClicked"));
            QCOMPARE(answerer.first().text, box);
        }
        QCOMPARE(CommandJournal(), calls);
        QCOMPARE(text(WN::jerkEdit), jerk);
        if (box.isEmpty()) {
            QCOMPARE(text(WN::synVelMaxEdit), velocity);
            QCOMPARE(combo(WN::dimensionCombo)->currentIndex(), dimension);
            QCOMPARE(text(WN::tEdit), QStringLiteral("0.01"));
        }
    }

    void blendingFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("box");

        QTest::newRow("active 0 sends")
            << QByteArray("[Blending]\nactive=0\nparaType=3\npara=0.5\nminAngle=10\nmaxAngle=170\n")
            << 0 << QStringList{"MQN_SetBlendingParaLa(1, 1, 3, 0.5, 10, 170)"}
            << QStringList{"MQN_SetBlendingParaLa active 0paraType3 para0.5 maxAngle170  = 1"}
            << QString();
        QTest::newRow("a failing call is reported")
            << QByteArray("[Blending]\nactive=1\npara=1e-05\n") << 7
            << QStringList{"MQN_SetBlendingParaLa(1, 1, 0, 1e-05, 0, 0)"}
            << QStringList{"MQN_SetBlendingParaLa active 1paraType0 para1e-05 maxAngle0  = 1",
                           "MQN_SetBlendingParaLa = 7"}
            << QString();
        const QStringList none;
        QTest::newRow("active -1 sends nothing")
            << QByteArray("[Blending]\nactive=-1\nparaType=3\n") << 0 << none << none << QString();
        QTest::newRow("no file sends nothing") << QByteArray() << 0 << none << none << QString();
        QTest::newRow("a file that cannot be parsed")
            << QByteArray("[Blending]\nactive=1\n\"unterminated=2\n") << 0 << none << none
            << "Option.ini File Write Error!";
        auto unusable = [&none](const char* name, const QByteArray& values, const QString& key,
                                const QString& value) {
            QTest::newRow(name) << "[Blending]\n" + values + "\n"
                                << 0 << none << none
                                << QStringLiteral("The blending file holds no usable value for "
                                                  "\"%1\": \"%2\". Nothing was sent.")
                                       .arg(key, value);
        };
        unusable("active beyond 16 bits", "active=70000", "active", "70000");
        unusable("para beyond double", "active=1\npara=1e400", "para", "1e400");
        unusable("maxAngle minus infinity", "active=1\nmaxAngle=-inf", "maxAngle", "-inf");
    }

    void blendingFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, code);
        QFETCH(QStringList, calls);
        QFETCH(QStringList, lines);
        QFETCH(QString, box);

        open();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("FilterPrm.ini"));
        if (!content.isEmpty())
            QVERIFY(WriteFile(path, content));
        if (code != 0)
            rvsim_inject("MQN_SetBlendingParaLa", short(code), 1);
        QCOMPARE(ApplyBlendingFile(path), box);
        QCOMPARE(CommandJournal(), calls);
        QCOMPARE(TestHost::Lines(), lines);
    }

    void roundTrip()
    {
        writeSettings("[KurvoCore1Crd1]\nlabOpenFileData=\n");
        open();
        host->choose(WN::lookAheadModeCombo, 1);
        host->choose(WN::dimensionCombo, 3);
        host->choose(WN::perAxis(WN::profileCombo, 3), 6);
        host->find<QCheckBox>(WN::originFlagCheck)->setChecked(true);
        const QList<QPair<QString, QString>> typed{{WN::synVelMaxEdit, "250.5"},
                                                   {WN::synAccMaxEdit, "900"},
                                                   {WN::evenTimeEdit, "12"},
                                                   {WN::perAxis(WN::scaleEdit, 1), "2000"},
                                                   {WN::tEdit, "0.02"},
                                                   {WN::jerkEdit, "3"},
                                                   {WN::perAxis(WN::originEdit, 0), "-7"}};
        for (const auto& [name, value] : typed)
            setText(name, value);
        close();

        QSettings saved(host->settingsFile(), QSettings::IniFormat);
        saved.beginGroup(QStringLiteral("KurvoCore1Crd1"));
        QCOMPARE(
            saved.childKeys().join(u' '),
            QStringLiteral("Core Crd LookAheadMode Profile0 Profile1 Profile2 Profile3 Profile4 "
                           "Scale0 Scale1 Scale2 Scale3 Scale4 dCrdAccTime dCrdJerk "
                           "dLookAheadPrmAccMax dLookAheadPrmDccAngle dLookAheadPrmN "
                           "dLookAheadPrmRadiusRatio dLookAheadPrmT dimension evenTime fifo "
                           "labOpenFileData originPos0 originPos1 originPos2 originPos3 "
                           "originPos4 setOriginFlag synAccMax synVelMax"));
        const QList<QPair<const char*, const char*>> values{
            {"dimension", "3"},          {"Profile3", "6"},    {"synVelMax", "250.5"},
            {"Scale1", "2000"},          {"originPos0", "-7"}, {"LookAheadMode", "Open"},
            {"dLookAheadPrmAccMax", "0"}};
        for (const auto& [key, value] : values)
            QCOMPARE(saved.value(key).toString(), QLatin1String(value));

        open();
        QCOMPARE(combo(WN::lookAheadModeCombo)->currentText(), QStringLiteral("Open"));
        QVERIFY(shown(WN::lookAheadTree));
        QCOMPARE(combo(WN::dimensionCombo)->currentText(), QStringLiteral("4"));
        QCOMPARE(combo(WN::perAxis(WN::profileCombo, 3))->currentText(), QStringLiteral("7"));
        for (const auto& [name, value] : typed)
            QCOMPARE(text(name), value);
        QVERIFY(host->find<QCheckBox>(WN::originFlagCheck)->isChecked());
        QVERIFY(enabled(WN::perAxis(WN::originEdit, 0)));
        QCOMPARE(text(WN::programPathEdit), QString());
    }

    // The last group the file lists is loaded, whichever was saved last; saving writes the group of
    // the window's choices and keeps the others, and what they hold, as they were.
    void lastListedGroupDecides()
    {
        rvsim_configure(2, 0, 0, 0, 0);
        TestHost::resources = {CrdResourceRecord{2, 2, 1, 1, {}}};
        writeSettings("[KurvoCore1Crd1]\nCore=1\nsynVelMax=11\nlabOpenFileData=\nforeign=kept\n"
                      "[KurvoCore2Crd1]\nCore=0\nsynVelMax=22\nlabOpenFileData=\n"
                      "[Zeta]\nsynVelMax=99\n");
        open();
        QCOMPARE(text(WN::synVelMaxEdit), QStringLiteral("22"));
        QCOMPARE(combo(WN::coreIndexCombo)->currentIndex(), 0);
        setText(WN::synVelMaxEdit, QStringLiteral("33"));
        close();

        QSettings saved(host->settingsFile(), QSettings::IniFormat);
        QCOMPARE(saved.childGroups(), (QStringList{"KurvoCore1Crd1", "KurvoCore2Crd1", "Zeta"}));
        QCOMPARE(saved.value("KurvoCore1Crd1/synVelMax").toString(), QStringLiteral("33"));
        QCOMPARE(saved.value("KurvoCore1Crd1/foreign").toString(), QStringLiteral("kept"));
        QCOMPARE(saved.value("KurvoCore2Crd1/synVelMax").toString(), QStringLiteral("22"));
        QCOMPARE(saved.value("Zeta/synVelMax").toString(), QStringLiteral("99"));
    }

    void unparseableFileIsLeftAlone_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");

        const QString unparseable = QStringLiteral("it cannot be parsed");
        QTest::newRow("unterminated quote")
            << QByteArray("[KurvoCore1Crd1]\n\"synVelMax=5\n") << unparseable;
        QByteArray binary(4096, '\0');
        for (int i = 0; i < binary.size(); ++i)
            binary[i] = char((i * 7919) % 256);
        QTest::newRow("binary") << binary << unparseable;
        // Tens of megabytes are no settings file; reading them would freeze the window.
        QTest::newRow("40 MB") << QByteArray("[KurvoCore1Crd1]\nsynVelMax=5\n")
                                      + QByteArray(40 * 1024 * 1024, 'x')
                               << QStringLiteral("it is larger than 4 MiB");
    }

    // At every opening in the process, though the settings class parses a file only once.
    void unparseableFileIsLeftAlone()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);

        writeSettings(bytes);
        for (int opening = 1; opening <= 2; ++opening) {
            {
                ModalBoxAnswerer noBox(0);
                open();
            }
            // As built: the construction defaults stand, the program path is empty.
            QCOMPARE(text(WN::synVelMaxEdit), QStringLiteral("1000"));
            QCOMPARE(text(WN::programPathEdit), QString());
            QCOMPARE(combo(WN::dimensionCombo)->currentText(), QStringLiteral("3"));
            close();
            QCOMPARE(settings(), bytes);
            QCOMPARE(TestHost::Lines().size(), opening);
            QCOMPARE(TestHost::Lines().constLast(), notSaved(reason));
        }
    }

    void onlyARegularFileIsReadOrSaved_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");

        const QString notRegular = QStringLiteral("it is not a regular file");
        QTest::newRow("a folder in its place") << "folder" << notRegular;
        QTest::newRow("a pipe in its place") << "pipe" << notRegular;
        QTest::newRow("a device in its place") << "device" << notRegular;
        QTest::newRow("a link to a pipe") << "link to pipe" << notRegular;
        QTest::newRow("a link to a device") << "link to device" << notRegular;
        QTest::newRow("a link to nothing") << "link to nothing"
                                           << "it is a link to nothing";
        QTest::newRow("2 GiB, sparse") << "sparse"
                                       << "it is larger than 4 MiB";
    }

    // Nothing is read from it (a pipe would block the opening), and it stays what it was.
    void onlyARegularFileIsReadOrSaved()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);

        host->neutralSettings = false;
        const QString path = host->settingsFile();
        const QString unmade = MakeSpecialFile(path, kind, qint64(2) << 30);
        if (!unmade.isEmpty())
            QSKIP(qPrintable(unmade));
        const qint64 size = QFileInfo(path).size();
        {
            ModalBoxAnswerer noBox(0);
            open();
        }
        close();
        QCOMPARE(SpecialFileKind(path), kind == QLatin1String("sparse") ? "file" : kind);
        QCOMPARE(QFileInfo(path).size(), size);
        QCOMPARE(TestHost::Lines(), QStringList{notSaved(reason)});
    }

    // The link stays a link; its file gets the settings.
    void savingFollowsALinkToItsFile()
    {
        const QString target = host->settingsFile() + QStringLiteral(".target");
        QVERIFY(WriteFile(target, "[KurvoCore1Crd1]\nlabOpenFileData=\nsynVelMax=5\n"));
        QVERIFY(QFile::link(target, host->settingsFile()));
        open();
        QCOMPARE(text(WN::synVelMaxEdit), QStringLiteral("5"));
        setText(WN::synVelMaxEdit, QStringLiteral("77"));
        close();
        QCOMPARE(SpecialFileKind(host->settingsFile()), QStringLiteral("link to file"));
        QCOMPARE(QSettings(target, QSettings::IniFormat).value("KurvoCore1Crd1/synVelMax"),
                 QVariant("77"));
        QCOMPARE(TestHost::Lines(), QStringList());
    }

    // As on a full disk: the old file stays whole, and the operator is told.
    void failedSaveKeepsTheFileAndSaysSo()
    {
        if (!FileSizeLimit::Available())
            QSKIP("no file size limit on this system");
        const QByteArray before
            = "[KurvoCore1Crd1]\nlabOpenFileData=\n[Other]\nkept=" + QByteArray(2000, 'k') + "\n";
        writeSettings(before);
        open();
        setText(WN::synVelMaxEdit, QStringLiteral("77"));
        {
            // Room for the old text, not for the new one.
            FileSizeLimit full(before.size() + 100);
            close();
        }
        QCOMPARE(settings(), before);
        QCOMPARE(TestHost::Lines(), QStringList{notSaved("it could not be written")});
    }

    // Without a controller the window's values are no settings: the file is left as it was.
    void withoutControllerNothingIsWritten()
    {
        host->neutralSettings = false;
        TestHost::resources = {CrdResourceRecord{0, 0, 0, 0, {}}};
        writeSettings("[KurvoCore1Crd1]\nlabOpenFileData=\n");
        open();
        close();
        QCOMPARE(settings(), QByteArray("[KurvoCore1Crd1]\nlabOpenFileData=\n"));
        QFile::remove(host->settingsFile());
        {
            ModalBoxAnswerer answerer; // the default program path " "
            open();
        }
        close();
        QVERIFY(!QFile::exists(host->settingsFile()));
    }

    void valuesOutOfRange()
    {
        writeSettings("[KurvoCore1Crd1]\nProfile4=40\ndimension=-3\nCore=9\nsynVelMax=nan\n"
                      "LookAheadMode=open\nlabOpenFileData=\n");
        open();
        QCOMPARE(combo(WN::perAxis(WN::profileCombo, 4))->currentIndex(), -1);
        QCOMPARE(combo(WN::dimensionCombo)->currentIndex(), -1);
        QCOMPARE(combo(WN::coreIndexCombo)->currentIndex(), -1);
        QCOMPARE(text(WN::synVelMaxEdit), QStringLiteral("nan"));
        // "open" is not "Open": no mode is chosen, so the tree and the scales stay hidden.
        QCOMPARE(combo(WN::lookAheadModeCombo)->currentIndex(), -1);
        QVERIFY(!shown(WN::lookAheadTree));
        QVERIFY(!shown(WN::perAxis(WN::scaleEdit, 0)));
        {
            // Closing builds the record as Init does: core 0 is refused before anything is saved.
            ModalBoxAnswerer answerer;
            close();
            QCOMPARE(answerer.first().text, QStringLiteral("The core must lie between 1 and 16."));
        }
        QSettings saved(host->settingsFile(), QSettings::IniFormat);
        QCOMPARE(saved.childGroups(), (QStringList{"KurvoCore0Crd1", "KurvoCore1Crd1"}));
    }

    void unwritableFolder()
    {
        host->neutralSettings = false;
        QTemporaryDir parent;
        const QString blocked = parent.filePath(QStringLiteral("file-not-folder"));
        QVERIFY(WriteFile(blocked, QByteArray())); // a file where the folder should be
        SetSettingsFolder(blocked);
        {
            ModalBoxAnswerer answerer; // nothing to load: the default program path " "
            open();
        }
        close();
        QVERIFY(QFileInfo(blocked).isFile());
        QCOMPARE(TestHost::Lines(), QStringList{notSaved("it could not be written", blocked)});
    }

private:
    void open()
    {
        form = host->open(LanguageEnglish);
        QVERIFY(form);
        StartJournal();
    }
    void close()
    {
        host->area()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void chooseMode(const QString& mode) { host->chooseText(WN::lookAheadModeCombo, mode); }
    void pressInit()
    {
        QTest::mouseClick(host->find<QPushButton>(WN::initCrdButton), Qt::LeftButton);
    }
    QString text(const QString& name) const { return host->find<QLineEdit>(name)->text(); }
    void setText(const QString& name, const QString& text) const
    {
        host->find<QLineEdit>(name)->setText(text);
    }
    QComboBox* combo(const QString& name) const { return host->find<QComboBox>(name); }
    bool shown(const QString& name) const { return !host->find(name)->isHidden(); }
    bool enabled(const QString& name) const { return host->find(name)->isEnabled(); }
    void writeSettings(const QByteArray& content)
    {
        QVERIFY(WriteFile(host->settingsFile(), content));
    }
    QByteArray settings() const
    {
        QFile file(host->settingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The host line of settings not saved into the file of `folder`, the host's by default.
    QString notSaved(const QString& reason, const QString& folder = QString()) const
    {
        const QString file = folder.isEmpty() ? host->settingsFile() : folder + "/Crd.ini";
        return QStringLiteral("The settings were not saved to %1: %2.")
            .arg(QDir::toNativeSeparators(file), reason);
    }

    std::unique_ptr<TestHost> host;
    QWidget* form = nullptr;
};

QTEST_MAIN(TestCrd)
#include "tst_crd.moc"
