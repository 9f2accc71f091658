// "Init Crd", the mode and origin handlers, the parameter tree, the read-back and the blending
// file, watched through the virtual controller's journal.
#include "crd/Blending.h"
#include "form/WidgetNames.h"
#include "module/HostSignal.h"
#include "rvsim.h"

#include "Journal.h"
#include "LinkedModule.h"
#include "ModalBoxAnswerer.h"
#include "TestHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <cstring>
#include <limits>
#include <memory>

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

} // namespace

class TestCrdInit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void closedModeSendsTheRecordOnly();
    void openModeSetsUpLookAhead();
    void initStopsOrGoesOn_data();
    void initStopsOrGoesOn();
    void refusedRecordSendsNothing_data();
    void refusedRecordSendsNothing();
    void modeShowsScalesAndTree();
    void originFlagShowsOrigins();
    void dimensionEnablesItsAxes();
    void learningControlsFollowIlcEnable();
    void contourProbe_data();
    void contourProbe();
    void readBack();
    void readBackOfAnUnsetCoordinateSystem();
    void failingReadBack_data();
    void failingReadBack();
    void blendingFile_data();
    void blendingFile();

private:
    void open();
    void chooseMode(const QString& mode);
    void choose(const char* name, int index);
    void chooseProfile(int axis, int profile);
    void pressInit();
    template <typename T = QWidget> T* find(const QString& name) const
    {
        return host->find<T>(name);
    }
    template <typename T = QWidget> T* find(const char* name) const { return host->find<T>(name); }
    QLineEdit* edit(const char* name) const { return find<QLineEdit>(name); }

    std::unique_ptr<TestHost> host;
    QWidget* form = nullptr;
};

void TestCrdInit::init()
{
    rvsim_reset();
    rvsim_use_manual_clock(1);
    host = LinkedTestHost();
}

void TestCrdInit::cleanup()
{
    host.reset();
    form = nullptr;
}

void TestCrdInit::open()
{
    form = host->open(LanguageEnglish);
    QVERIFY(form);
    rvsim_journal_enable(1);
    rvsim_journal_clear();
}

// As an operator's choice: the item, then the activated signal.
void TestCrdInit::choose(const char* name, int index)
{
    auto* combo = find<QComboBox>(name);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void TestCrdInit::chooseMode(const QString& mode)
{
    auto* combo = find<QComboBox>(WidgetNames::lookAheadModeCombo);
    const int index = combo->findText(mode);
    QVERIFY(index >= 0);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void TestCrdInit::chooseProfile(int axis, int profile)
{
    auto* combo = find<QComboBox>(WidgetNames::perAxis(WidgetNames::profileCombo, axis));
    combo->setCurrentIndex(combo->findText(QString::number(profile)));
    QCOMPARE(combo->currentText(), QString::number(profile));
}

void TestCrdInit::pressInit()
{
    QTest::mouseClick(find<QPushButton>(WidgetNames::initCrdButton), Qt::LeftButton);
}

void TestCrdInit::closedModeSendsTheRecordOnly()
{
    open();
    pressInit();
    QCOMPARE(CommandJournal(), (QStringList{"MQN_SetCrdMapBase(1, 1, 2)", closedRecord}));
    QVERIFY(TestHost::Lines().isEmpty());
    QVERIFY(find(WidgetNames::bufferDataGroup)->isEnabled());
    QVERIFY(find(WidgetNames::startCrdButton)->isEnabled());
    QVERIFY(!find(WidgetNames::pauseButton)->isEnabled());
    QVERIFY(!find(WidgetNames::restartButton)->isEnabled());
}

void TestCrdInit::openModeSetsUpLookAhead()
{
    open();
    chooseMode(QStringLiteral("Open"));
    edit(WidgetNames::nEdit)->setText(QStringLiteral("200.9"));
    rvsim_journal_clear();
    pressInit();
    QCOMPARE(CommandJournal(),
             (QStringList{"MQN_SetCrdMapBase(1, 1, 2)", closedRecord,
                          "MQN_SetupLookAheadCrd(1, 1, 0)", "MQN_SetCrdJerk(1, 1, 1)",
                          "MQN_SetCrdContourErrorControl(1, 1, 0, 80)", lookAheadRecord}));
    QVERIFY(TestHost::Lines().isEmpty());
    QVERIFY(find(WidgetNames::bufferDataGroup)->isEnabled());
}

void TestCrdInit::initStopsOrGoesOn_data()
{
    QTest::addColumn<QString>("failing");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("calls");
    QTest::addColumn<bool>("completed");

    QTest::newRow("record refused: goes on") << "MQN_SetCrdPrm" << 1 << 6 << true;
    QTest::newRow("look-ahead set-up fails: stops") << "MQN_SetupLookAheadCrd" << -1 << 3 << false;
    QTest::newRow("jerk fails: goes on") << "MQN_SetCrdJerk" << 7 << 6 << true;
    QTest::newRow("contour control fails: goes on")
        << "MQN_SetCrdContourErrorControl" << 8 << 6 << true;
    QTest::newRow("look-ahead init fails: stops") << "MQN_InitLookAheadEx" << 7 << 6 << false;
}

void TestCrdInit::initStopsOrGoesOn()
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
    QCOMPARE(find(WidgetNames::bufferDataGroup)->isEnabled(), completed);
    QCOMPARE(find(WidgetNames::startCrdButton)->isEnabled(), completed);
}

void TestCrdInit::refusedRecordSendsNothing_data()
{
    QTest::addColumn<int>("profiles");       // the virtual controller's; 0: none offered
    QTest::addColumn<QList<int>>("chosen");  // X, Y profiles
    QTest::addColumn<int>("yFactor");        // -1: Y's pulses per mm left as they are
    QTest::addColumn<QString>("message");

    QTest::newRow("no profile to choose")
        << 0 << QList<int>{} << -1 << "The profile of axis X must lie between 1 and 16.";
    QTest::newRow("profile 17")
        << 20 << QList<int>{17} << -1 << "The profile of axis X must lie between 1 and 16.";
    QTest::newRow("a span beyond 8")
        << 12 << QList<int>{1, 9} << -1 << "MaxAxisIndex - MinAxisIndex >8";
    QTest::newRow("unusable factors of Y")
        << 12 << QList<int>{} << 0
        << "The host's axis table has no usable factors for core 1, profile 3.";
}

void TestCrdInit::refusedRecordSendsNothing()
{
    QFETCH(int, profiles);
    QFETCH(QList<int>, chosen);
    QFETCH(int, yFactor);
    QFETCH(QString, message);

    if (profiles == 0)
        rvsim_inject("MQN_GetResMax", 1, 1); // the choices stay empty
    else
        rvsim_configure(0, 0, 0, profiles, 0);
    if (yFactor >= 0)
        host->axisTable.pulsesPerMm[0][2] = yFactor; // Y on profile 3, as the window starts
    open();
    for (int axis = 0; axis < chosen.size(); ++axis)
        chooseProfile(axis, chosen[axis]);
    {
        ModalBoxAnswerer answerer;
        pressInit();
        QCOMPARE(answerer.first().title, QStringLiteral("Error:"));
        QCOMPARE(answerer.first().text, message);
    }
    QVERIFY(CommandJournal().isEmpty());
    QVERIFY(!find(WidgetNames::bufferDataGroup)->isEnabled());
}

void TestCrdInit::modeShowsScalesAndTree()
{
    open();
    auto scaleVisible = [this](int axis) {
        return !find(WidgetNames::perAxis(WidgetNames::scaleEdit, axis))->isHidden()
               && !find(WidgetNames::perAxis(WidgetNames::scaleLabel, axis))->isHidden();
    };
    QVERIFY(find(WidgetNames::lookAheadTree)->isHidden());
    chooseMode(QStringLiteral("Open"));
    QVERIFY(!find(WidgetNames::lookAheadTree)->isHidden());
    for (int axis = 0; axis < 5; ++axis)
        QVERIFY(scaleVisible(axis));
    chooseMode(QStringLiteral("Close"));
    QVERIFY(find(WidgetNames::lookAheadTree)->isHidden());
    for (int axis = 0; axis < 5; ++axis)
        QVERIFY(!scaleVisible(axis));
    QVERIFY(CommandJournal().isEmpty());
}

void TestCrdInit::originFlagShowsOrigins()
{
    open();
    auto* flag = find<QCheckBox>(WidgetNames::originFlagCheck);
    flag->setChecked(true);
    for (int axis = 0; axis < 5; ++axis) {
        QWidget* originEdit = find(WidgetNames::perAxis(WidgetNames::originEdit, axis));
        QWidget* label = find(WidgetNames::perAxis(WidgetNames::originLabel, axis));
        QVERIFY(!originEdit->isHidden() && originEdit->isEnabled());
        QVERIFY(!label->isHidden() && label->isEnabled());
    }
    flag->setChecked(false);
    for (int axis = 0; axis < 5; ++axis) {
        QWidget* originEdit = find(WidgetNames::perAxis(WidgetNames::originEdit, axis));
        QVERIFY(originEdit->isHidden() && !originEdit->isEnabled());
    }
}

void TestCrdInit::dimensionEnablesItsAxes()
{
    open();
    for (int dimension = 1; dimension <= 5; ++dimension) {
        choose(WidgetNames::dimensionCombo, dimension - 1);
        for (int axis = 0; axis < 5; ++axis) {
            QCOMPARE(find(WidgetNames::perAxis(WidgetNames::profileCombo, axis))->isEnabled(),
                     axis < dimension);
            QCOMPARE(find(WidgetNames::perAxis(WidgetNames::axisLabel, axis))->isEnabled(),
                     axis < dimension);
        }
    }
}

void TestCrdInit::learningControlsFollowIlcEnable()
{
    open();
    auto* enable = find<QCheckBox>(WidgetNames::ilcEnableCheck);
    QVERIFY(find(WidgetNames::openIlcFileButton)->isHidden());
    enable->click();
    QVERIFY(!find(WidgetNames::openIlcFileButton)->isHidden());
    QVERIFY(!find(WidgetNames::ilcPathEdit)->isHidden());
    enable->click();
    QVERIFY(find(WidgetNames::openIlcFileButton)->isHidden());
    QVERIFY(find(WidgetNames::ilcPathEdit)->isHidden());
}

void TestCrdInit::contourProbe_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("hidden");
    QTest::newRow("unknown command hides contour control") << 8 << true;
    QTest::newRow("another failure leaves it") << 7 << false;
    QTest::newRow("success leaves it") << 0 << false;
}

void TestCrdInit::contourProbe()
{
    QFETCH(int, code);
    QFETCH(bool, hidden);

    if (code != 0)
        rvsim_inject("MQN_GetCrdContourErrorControl", short(code), 1);
    open();
    QCOMPARE(find(WidgetNames::contourEnableCheck)->isHidden(), hidden);
    QCOMPARE(find(WidgetNames::kpEdit)->isHidden(), hidden);

    // Hidden or not, Init reads the editors.
    chooseMode(QStringLiteral("Open"));
    rvsim_journal_clear();
    pressInit();
    QVERIFY(
        CommandJournal().contains(QStringLiteral("MQN_SetCrdContourErrorControl(1, 1, 0, 80)")));
}

void TestCrdInit::readBack()
{
    CrdPrm prm;
    std::memset(&prm, 0, sizeof prm);
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
    LookAheadPrmEx lookAhead;
    std::memset(&lookAhead, 0, sizeof lookAhead);
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

    QCOMPARE(find<QComboBox>(WidgetNames::dimensionCombo)->currentIndex(), 2);
    // Each combo takes the entry's index, the profile number minus the base.
    QCOMPARE(find<QComboBox>(WidgetNames::perAxis(WidgetNames::profileCombo, 0))->currentIndex(),
             1);
    QCOMPARE(find<QComboBox>(WidgetNames::perAxis(WidgetNames::profileCombo, 1))->currentIndex(),
             0);
    QCOMPARE(find<QComboBox>(WidgetNames::perAxis(WidgetNames::profileCombo, 2))->currentIndex(),
             3);
    QCOMPARE(edit(WidgetNames::synVelMaxEdit)->text(), QStringLiteral("12.5"));
    QCOMPARE(edit(WidgetNames::synAccMaxEdit)->text(), QStringLiteral("0.0625"));
    QCOMPARE(edit(WidgetNames::evenTimeEdit)->text(), QStringLiteral("7"));
    QVERIFY(find<QCheckBox>(WidgetNames::originFlagCheck)->isChecked());
    const char* originTexts[] = {"10", "-20", "30", "40", "50"};
    for (int axis = 0; axis < 5; ++axis) {
        QCOMPARE(find<QLineEdit>(WidgetNames::perAxis(WidgetNames::originEdit, axis))->text(),
                 QLatin1String(originTexts[axis]));
        QCOMPARE(find<QLineEdit>(WidgetNames::perAxis(WidgetNames::scaleEdit, axis))->text(),
                 QString::number(100 * (axis + 1) + 0.5));
    }
    QCOMPARE(edit(WidgetNames::tEdit)->text(), QStringLiteral("0.02"));
    QCOMPARE(edit(WidgetNames::nEdit)->text(), QStringLiteral("150"));
    QCOMPARE(edit(WidgetNames::radiusRatioEdit)->text(), QStringLiteral("0.5"));
    QCOMPARE(edit(WidgetNames::jerkEdit)->text(), QStringLiteral("0.25"));
    QCOMPARE(find<QLineEdit>(WidgetNames::perAxis(WidgetNames::vMaxEdit, 0))->text(),
             QStringLiteral("1000"));
    QCOMPARE(CommandJournal(),
             (QStringList{"MQN_GetCrdPrm(1, 1, out)", "MQN_GetLookAheadParaEx(1, 1, 0, out, 0)",
                          "MQN_GetCrdJerk(1, 1, out)"}));
}

void TestCrdInit::readBackOfAnUnsetCoordinateSystem()
{
    open();
    QVERIFY(QMetaObject::invokeMethod(form, "OnGetLookAheadPrmBtnClicked"));
    QCOMPARE(find<QComboBox>(WidgetNames::dimensionCombo)->currentIndex(), -1);
    QCOMPARE(find<QComboBox>(WidgetNames::perAxis(WidgetNames::profileCombo, 0))->currentText(),
             QStringLiteral("2"));
    QCOMPARE(edit(WidgetNames::synVelMaxEdit)->text(), QStringLiteral("0"));

    rvsim_journal_clear();
    pressInit();
    QCOMPARE(CommandJournal().filter("MQN_SetCrdPrm").size(), 1);
    QCOMPARE(TestHost::Lines(), QStringList{"MQN_SetCrdPrm = 7"});
}

void TestCrdInit::failingReadBack_data()
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
        << "MQN_GetLookAheadParaEx = 7\r\n----Parameter in command is error!" << "3";
}

void TestCrdInit::failingReadBack()
{
    QFETCH(QString, failing);
    QFETCH(QStringList, calls);
    QFETCH(QString, box);
    QFETCH(QString, jerk);

    QCOMPARE(MQN_SetCrdJerk(1, 1, 3), short(0));
    open();
    const QString velocity = edit(WidgetNames::synVelMaxEdit)->text();
    const int dimension = find<QComboBox>(WidgetNames::dimensionCombo)->currentIndex();
    rvsim_inject(failing.toLatin1().constData(), 7, 1);
    {
        ModalBoxAnswerer answerer(box.isEmpty() ? 0 : 1);
        QVERIFY(QMetaObject::invokeMethod(form, "OnGetLookAheadPrmBtnClicked"));
        QCOMPARE(answerer.first().text, box);
    }
    QCOMPARE(CommandJournal(), calls);
    QCOMPARE(edit(WidgetNames::jerkEdit)->text(), jerk);
    if (box.isEmpty()) {
        QCOMPARE(edit(WidgetNames::synVelMaxEdit)->text(), velocity);
        QCOMPARE(find<QComboBox>(WidgetNames::dimensionCombo)->currentIndex(), dimension);
        QCOMPARE(edit(WidgetNames::tEdit)->text(), QStringLiteral("0.01"));
    }
}

void TestCrdInit::blendingFile_data()
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
    QTest::newRow("missing values are zero")
        << QByteArray("[Blending]\nactive=2\n") << 0
        << QStringList{"MQN_SetBlendingParaLa(1, 1, 0, 0, 0, 0)"}
        << QStringList{"MQN_SetBlendingParaLa active 2paraType0 para0 maxAngle0  = 1"} << QString();
    QTest::newRow("a failing call is reported")
        << QByteArray("[Blending]\nactive=1\npara=1e-05\n") << 7
        << QStringList{"MQN_SetBlendingParaLa(1, 1, 0, 1e-05, 0, 0)"}
        << QStringList{"MQN_SetBlendingParaLa active 1paraType0 para1e-05 maxAngle0  = 1",
                       "MQN_SetBlendingParaLa = 7"}
        << QString();
    const QStringList none;
    QTest::newRow("active -1 sends nothing")
        << QByteArray("[Blending]\nactive=-1\nparaType=3\n") << 0 << none << none << QString();
    QTest::newRow("no active key sends nothing")
        << QByteArray("[Blending]\nparaType=3\n") << 0 << none << none << QString();
    QTest::newRow("no file sends nothing") << QByteArray() << 0 << none << none << QString();
    QTest::newRow("a file that cannot be parsed")
        << QByteArray("[Blending]\nactive=1\n\"unterminated=2\n") << 0 << none << none
        << "Option.ini File Write Error!";
    auto unusable = [&none](const char* name, const QByteArray& values, const QString& key,
                            const QString& value) {
        QTest::newRow(name) << "[Blending]\n" + values + "\n" << 0 << none << none
                            << QStringLiteral("The blending file holds no usable value for "
                                              "\"%1\": \"%2\". Nothing was sent.")
                                   .arg(key, value);
    };
    unusable("active beyond 16 bits", "active=70000", "active", "70000");
    unusable("active not a number", "active=nan", "active", "nan");
    unusable("paraType beyond 16 bits", "active=1\nparaType=-40000", "paraType", "-40000");
    unusable("para infinite", "active=1\npara=inf", "para", "inf");
    unusable("para beyond double", "active=1\npara=1e400", "para", "1e400");
    unusable("minAngle not a number", "active=1\nminAngle=nan", "minAngle", "nan");
    unusable("maxAngle minus infinity", "active=1\nmaxAngle=-inf", "maxAngle", "-inf");
}

void TestCrdInit::blendingFile()
{
    QFETCH(QByteArray, content);
    QFETCH(int, code);
    QFETCH(QStringList, calls);
    QFETCH(QStringList, lines);
    QFETCH(QString, box);

    open();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("FilterPrm.ini"));
    if (!content.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    if (code != 0)
        rvsim_inject("MQN_SetBlendingParaLa", short(code), 1);
    {
        ModalBoxAnswerer answerer(box.isEmpty() ? 0 : 1);
        ApplyBlendingFile(path);
        QCOMPARE(answerer.first().text, box);
    }
    QCOMPARE(CommandJournal(), calls);
    QCOMPARE(TestHost::Lines(), lines);
}

QTEST_MAIN(TestCrdInit)
#include "tst_crdinit.moc"
