// Start, pause, restart and stop, the streaming worker and the status timer, on the virtual
// controller with its manual clock.
#include "form/WidgetNames.h"
#include "module/HostSignal.h"
#include "rvsim.h"

#include "Journal.h"
#include "LinkedModule.h"
#include "ModalBoxAnswerer.h"
#include "TableRows.h"
#include "TestHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QThread>

#include <memory>

namespace {

int countOf(const QStringList& calls, const QString& prefix)
{
    return int(std::count_if(calls.begin(), calls.end(),
                             [&](const QString& call) { return call.startsWith(prefix); }));
}

} // namespace

class TestRunControl : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startSendsAndStarts_data();
    void startSendsAndStarts();
    void learningAtStart_data();
    void learningAtStart();
    void pauseCollectsTheLearningErrors();
    void pauseWithAFailingLearningStop();
    void restartAndStop();
    void programOfFiveLines();
    void programOf1500Lines();
    void emptyProgram();
    void laserWordReportsTheCompare();
    void stopDuringStreaming();
    void noSecondStartWhileStreaming();
    void statusFollowsTheRun();
    void statusWithoutController();

private:
    void initCrd(bool open);
    void start() { QVERIFY(QMetaObject::invokeMethod(form, "OnStartBtnClicked")); }
    void tick() { QVERIFY(QMetaObject::invokeMethod(form, "OnTimer")); }
    void runProgram(const QString& text);
    void setLearning(bool enabled, const QString& mode, const QString& count);

    std::unique_ptr<TestHost> host;
    QWidget* form = nullptr;
};

void TestRunControl::init()
{
    rvsim_reset();
    moduleState().previousRunState = 0; // the run state the timer saw last outlives forms
    rvsim_use_manual_clock(1);
    host = std::make_unique<TestHost>(&LinkedKdvSignal);
    form = host->open();
}

void TestRunControl::cleanup()
{
    host.reset();
}

void TestRunControl::initCrd(bool open)
{
    if (open) {
        auto* mode = host->find<QComboBox>(WidgetNames::lookAheadModeCombo);
        mode->setCurrentIndex(1);
        emit mode->activated(1);
    }
    QVERIFY(QMetaObject::invokeMethod(form, "OnInitBtnClicked"));
    QVERIFY(host->find(WidgetNames::bufferDataGroup)->isEnabled());
    rvsim_journal_enable(1);
    rvsim_journal_clear();
}

void TestRunControl::setLearning(bool enabled, const QString& mode, const QString& count)
{
    host->find<QCheckBox>(WidgetNames::ilcEnableCheck)->setChecked(enabled);
    host->find<QComboBox>(WidgetNames::ilcModeCombo)->setCurrentText(mode);
    host->find<QLineEdit>(WidgetNames::ilcCountEdit)->setText(count);
}

// Starts the program and waits for its worker to finish streaming.
void TestRunControl::runProgram(const QString& text)
{
    host->find<QTextEdit>(WidgetNames::programTextView)->setPlainText(text);
    start();
    auto* worker = form->findChild<QThread*>();
    QVERIFY(worker);
    QTRY_VERIFY_WITH_TIMEOUT(worker->isFinished(), 20000);
}

void TestRunControl::startSendsAndStarts_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("closed: no look-ahead data to push")
        << false << QStringList{"MQN_BufDelay(1, 1, 5, 0)", "MQN_CrdStart(1, 1, 0)"};
    QTest::newRow("open: push, then start")
        << true
        << QStringList{"MQN_BufDelayEx(1, 1, 5, 0)", "MQN_CrdDataEx(1, 1, null, 0)",
                       "MQN_CrdStart(1, 1, 0)"};
}

void TestRunControl::startSendsAndStarts()
{
    QFETCH(bool, open);
    QFETCH(QStringList, calls);

    initCrd(open);
    AddTableRow(*host, form, open ? "BufDelayEx" : "BufDelay", {"5"});
    rvsim_journal_clear();
    ModalBoxAnswerer noBox(0);
    start();
    QCOMPARE(CommandJournal(), calls);
}

void TestRunControl::learningAtStart_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("learning from an empty count: initialise and start")
        << "Learning"
        << "" << QStringList{"MQN_InitIlc(1)", "MQN_StartIlc(1, 1)"} << QStringList();
    QTest::newRow("learning continued")
        << "Learning"
        << "2" << QStringList{"MQN_StartIlc(1, 1)"} << QStringList();
    QTest::newRow("working loads the file")
        << "Working"
        << "0" << QStringList{"MQN_LoadIlcFile(1, 1, \"/no/such/run.ilc\")"}
        << QStringList{"MQN_LoadIlcFile = 1"};
}

void TestRunControl::learningAtStart()
{
    QFETCH(QString, mode);
    QFETCH(QString, count);
    QFETCH(QStringList, calls);
    QFETCH(QStringList, lines);

    initCrd(false);
    AddTableRow(*host, form, "BufDelay", {"5"});
    setLearning(true, mode, count);
    host->find<QLineEdit>(WidgetNames::ilcPathEdit)->setText(QStringLiteral("/no/such/run.ilc"));
    rvsim_journal_clear();
    start();
    QCOMPARE(CommandJournal().mid(0, calls.size()), calls);
    QCOMPARE(TestHost::lines, lines);
}

void TestRunControl::pauseCollectsTheLearningErrors()
{
    initCrd(true);
    AddTableRow(*host, form, "LnXYEx", {"10", "0", "100", "10000", "1"});
    setLearning(true, QStringLiteral("Learning"), QStringLiteral("0"));
    start();
    rvsim_advance_ms(200);
    rvsim_journal_clear();
    QVERIFY(QMetaObject::invokeMethod(form, "OnPauseBtnClicked"));
    // X on profile 2 is bit 1; the run ended, so the profiles can be zeroed.
    QCOMPARE(CommandJournal(),
             (QStringList{"MQN_Stop(1, 2, 0)", "MQN_StopIlc(1, 1, out)", "MQN_ZeroPos(1, 1, 8)"}));
    QCOMPARE(TestHost::lines.size(), 3);
    QVERIFY(TestHost::lines[0].startsWith(QLatin1String("ErrorMax = ")));
    QVERIFY(TestHost::lines[0].mid(11).toDouble() > 0);
    QVERIFY(TestHost::lines[1].startsWith(QLatin1String("ErrorRms = ")));
    QVERIFY(TestHost::lines[2].startsWith(QLatin1String("ErrorAvg = ")));
    QCOMPARE(host->find<QLineEdit>(WidgetNames::ilcCountEdit)->text(), QStringLiteral("1"));
}

void TestRunControl::pauseWithAFailingLearningStop()
{
    initCrd(false);
    setLearning(true, QStringLiteral("Learning"), QStringLiteral("4"));
    QVERIFY(QMetaObject::invokeMethod(form, "OnPauseBtnClicked")); // learning never started
    QCOMPARE(CommandJournal(), (QStringList{"MQN_Stop(1, 2, 0)", "MQN_StopIlc(1, 1, out)"}));
    QCOMPARE(TestHost::lines, QStringList{"MQN_StopIlc = 1"});
    QCOMPARE(host->find<QLineEdit>(WidgetNames::ilcCountEdit)->text(), QStringLiteral("4"));
}

void TestRunControl::restartAndStop()
{
    initCrd(false);
    QVERIFY(QMetaObject::invokeMethod(form, "OnRestartBtnClicked"));
    QCOMPARE(TestHost::lines, QStringList{"MQN_CrdStart = 1"}); // nothing in the buffer
    rvsim_inject("MQN_Stop", -1, 1);
    {
        ModalBoxAnswerer answerer;
        QVERIFY(QMetaObject::invokeMethod(form, "OnStopBtnClicked"));
        QCOMPARE(answerer.first().text,
                 QStringLiteral("MQN_Stop = -1\r\n----Host failed to communicate with motion "
                                "controller!"));
    }
    QCOMPARE(CommandJournal(), (QStringList{"MQN_CrdStart(1, 1, 0)", "MQN_Stop(1, 1, 1)"}));
}

void TestRunControl::programOfFiveLines()
{
    initCrd(true);
    runProgram(QStringLiteral("G1 X1 F100\nX2\nN7 X3\nG0 X0 EF50\nDELAY20"));
    const QStringList calls = CommandJournal();
    QCOMPARE(countOf(calls, "MQN_LnXYZEx"), 3);
    QVERIFY(calls.contains("MQN_LnXYZEx(1, 1, 3, 0, 0, 100, 300, 7, 0, 0)"));
    QVERIFY(calls.contains("MQN_LnXYZG0Ex(1, 1, 0, 0, 0, 50, 300, 7, 0, 0)"));
    QVERIFY(calls.contains("MQN_BufDelayEx(1, 1, 20, 0)"));
    QCOMPARE(calls.constLast(), QStringLiteral("MQN_CrdStart(1, 1, 0)"));
    QCOMPARE(calls.at(calls.size() - 2), QStringLiteral("MQN_CrdDataEx(1, 1, null, 0)"));
    QVERIFY(TestHost::lines.contains("BufDelayTime = 20"));
}

void TestRunControl::programOf1500Lines()
{
    initCrd(true);
    QStringList program{QStringLiteral("G1 F1000")};
    for (int i = 1; i < 1500; ++i)
        program << QStringLiteral("X%1").arg(i % 2 ? 1 : 0);
    rvsim_set_time_scale(1e6);
    rvsim_use_manual_clock(0);
    runProgram(program.join(QLatin1Char('\n')));
    const QStringList calls = CommandJournal();
    QCOMPARE(countOf(calls, "MQN_CrdStart"), 1);
    const int started = int(calls.indexOf("MQN_CrdStart(1, 1, 0)"));
    QCOMPARE(countOf(calls.mid(0, started), "MQN_LnXYZEx"), 1000);
    QCOMPARE(countOf(calls, "MQN_LnXYZEx"), 1500);
    QCOMPARE(calls.constLast(), QStringLiteral("MQN_CrdDataEx(1, 1, null, 0)"));
}

void TestRunControl::emptyProgram()
{
    initCrd(true);
    runProgram(QString());
    QCOMPARE(CommandJournal(),
             (QStringList{"MQN_CrdDataEx(1, 1, null, 0)", "MQN_CrdStart(1, 1, 0)"}));
    QCOMPARE(TestHost::lines, QStringList{"MQN_CrdStart = 1"}); // nothing to run
}

void TestRunControl::laserWordReportsTheCompare()
{
    initCrd(true);
    runProgram(QStringLiteral("H1\nH0"));
    QCOMPARE(CommandJournal().mid(0, 2), (QStringList{"MQN_BufPosCompareStartEx(1, 1, 0, 1)",
                                                      "MQN_BufPosCompareStopEx(1, 1, 0, 1)"}));
    QCOMPARE(TestHost::lines.constFirst(), QStringLiteral("MQN_BufPosCompareStartExEnable = 1"));
}

void TestRunControl::stopDuringStreaming()
{
    rvsim_configure(0, 0, 0, 0, 8);
    rvsim_use_manual_clock(1);
    host = std::make_unique<TestHost>(&LinkedKdvSignal);
    form = host->open();
    initCrd(true);
    QStringList program{QStringLiteral("G1 F10")};
    for (int i = 0; i < 400; ++i)
        program << QStringLiteral("X%1").arg(i % 2);
    host->find<QTextEdit>(WidgetNames::programTextView)->setPlainText(program.join('\n'));
    start();
    auto* worker = form->findChild<QThread*>();
    QVERIFY(worker);
    QSignalSpy finished(worker, SIGNAL(MotionFinished()));
    // The frozen clock never drains the buffer: the worker waits for space until told to stop.
    QTRY_VERIFY(countOf(CommandJournal(), "MQN_LnXYZEx") >= 8);
    QVERIFY(!worker->isFinished());
    QVERIFY(QMetaObject::invokeMethod(form, "OnStopBtnClicked"));
    QVERIFY(finished.wait(5000) || finished.count() == 1);
    QTRY_VERIFY(worker->isFinished());
    const QStringList calls = CommandJournal();
    QCOMPARE(countOf(calls, "MQN_CrdDataEx"), 0);
    QCOMPARE(countOf(calls, "MQN_CrdStart"), 0);
}

void TestRunControl::noSecondStartWhileStreaming()
{
    rvsim_configure(0, 0, 0, 0, 8);
    rvsim_use_manual_clock(1);
    host = std::make_unique<TestHost>(&LinkedKdvSignal);
    form = host->open();
    initCrd(true);
    host->find<QTextEdit>(WidgetNames::programTextView)->setPlainText("G1 F10\nX1\nX0");
    auto* worker = form->findChild<QThread*>();
    QVERIFY(!worker);
    // A FIFO of 8 with a look-ahead of 200 holds the short program; hold the worker in its
    // wait for space with a longer one.
    QStringList program{QStringLiteral("G1 F10")};
    for (int i = 0; i < 400; ++i)
        program << QStringLiteral("X%1").arg(i % 2);
    host->find<QTextEdit>(WidgetNames::programTextView)->setPlainText(program.join('\n'));
    start();
    worker = form->findChild<QThread*>();
    QTRY_VERIFY(countOf(CommandJournal(), "MQN_LnXYZEx") >= 8);
    {
        ModalBoxAnswerer answerer;
        start();
        QCOMPARE(answerer.first().text, QStringLiteral("The program is still being sent."));
    }
    QCOMPARE(form->findChildren<QThread*>().size(), 1);
    QVERIFY(QMetaObject::invokeMethod(form, "OnStopBtnClicked"));
    QTRY_VERIFY(worker->isFinished());
}

void TestRunControl::statusFollowsTheRun()
{
    initCrd(false);
    AddTableRow(*host, form, "LnXYZ", {"10", "-2", "3", "100", "1", "0", "0"});
    host->find<QLabel>(WidgetNames::perAxis(WidgetNames::prfPosValue, 3))->setText("untouched");
    auto* init = host->find<QPushButton>(WidgetNames::initCrdButton);
    tick();
    start();
    tick();
    QCOMPARE(host->find<QLabel>(WidgetNames::runValue)->text(), QStringLiteral("1"));
    QVERIFY(!init->isEnabled());
    QVERIFY(!host->find(WidgetNames::motionParameterGroup)->isEnabled());
    QVERIFY(host->find<QPushButton>(WidgetNames::pauseButton)->isEnabled());
    QCOMPARE(host->find<QLabel>(WidgetNames::spaceValue)->text(), QStringLiteral("4095"));

    rvsim_advance_ms(100000);
    tick();
    QCOMPARE(host->find<QLabel>(WidgetNames::runValue)->text(), QStringLiteral("0"));
    QVERIFY(init->isEnabled());
    QVERIFY(host->find(WidgetNames::bufferDataGroup)->isEnabled());
    const char* positions[] = {"10.000", "-2.000", "3.000", "untouched"};
    for (int axis = 0; axis < 4; ++axis)
        QCOMPARE(host->find<QLabel>(WidgetNames::perAxis(WidgetNames::prfPosValue, axis))->text(),
                 QLatin1String(positions[axis]));
    QCOMPARE(host->find<QLabel>(WidgetNames::segmentValue)->text(),
             QStringLiteral("segment0        RemainderSegNum0  runEmpty0"));
    QCOMPARE(TestHost::lines.size(), 1);
    QVERIFY2(QRegularExpression("^CrdRunningTime=[0-9.e-]+s$").match(TestHost::lines[0]).hasMatch(),
             qPrintable(TestHost::lines[0]));
}

void TestRunControl::statusWithoutController()
{
    TestHost::resources = {CrdResourceRecord{0, 0, 0, 0, {}}};
    host = std::make_unique<TestHost>(&LinkedKdvSignal);
    TestHost::resources = {CrdResourceRecord{0, 0, 0, 0, {}}};
    form = host->open();
    rvsim_journal_enable(1);
    rvsim_journal_clear();
    tick();
    QVERIFY(Journal().isEmpty());
    QVERIFY(host->find<QLabel>(WidgetNames::runValue)->text().isEmpty());
}

QTEST_MAIN(TestRunControl)
#include "tst_runcontrol.moc"
