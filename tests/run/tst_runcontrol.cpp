// Start, pause, restart and stop, the streaming worker and the status timer, on the virtual
// controller with its manual clock.
#include "run/MyThread.h"
#include "run/RunWatch.h"

#include "WindowTest.h"

#include <QPointer>
#include <QThread>

#include <atomic>

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
    void init()
    {
        host = LinkedTestHostOnManualClock();
        form = host->open();
    }

    void cleanup()
    {
        rvsim_release(); // a worker held by a failed test would keep the window from closing
        host.reset();
    }

    void startSendsAndStarts_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<int>("crd");
        QTest::addColumn<int>("fifo");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("closed: no look-ahead data to push")
            << false << 1 << 0 << QStringList{"MQN_BufDelay(1, 1, 5, 0)", "MQN_CrdStart(1, 1, 0)"};
        QTest::newRow("open: push, then start")
            << true << 1 << 0
            << QStringList{"MQN_BufDelayEx(1, 1, 5, 0)", "MQN_CrdDataEx(1, 1, null, 0)",
                           "MQN_CrdStart(1, 1, 0)"};
        QTest::newRow("second crd, second fifo: mask and option at the crd's bit")
            << false << 2 << 1 << QStringList{"MQN_BufDelay(1, 2, 5, 1)", "MQN_CrdStart(1, 2, 2)"};
    }

    void startSendsAndStarts()
    {
        QFETCH(bool, open);
        QFETCH(int, crd);
        QFETCH(int, fifo);
        QFETCH(QStringList, calls);

        host->find<QComboBox>(WidgetNames::crdIndexCombo)->setCurrentIndex(crd - 1);
        host->find<QComboBox>(WidgetNames::fifoIndexCombo)->setCurrentIndex(fifo);
        initCrd(open);
        AddTableRow(*host, form, open ? "BufDelayEx" : "BufDelay", {"5"});
        rvsim_journal_clear();
        ModalBoxAnswerer noBox(0);
        start();
        QCOMPARE(CommandJournal(), calls);
    }

    void learningAtStart_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("learning from an empty count: initialise and start")
            << "Learning"
            << "" << QStringList{"MQN_InitIlc(1)", "MQN_StartIlc(1, 1)"} << QStringList();
        QTest::newRow("working loads the file")
            << "Working"
            << "0" << QStringList{"MQN_LoadIlcFile(1, 1, \"/no/such/run.ilc\")"}
            << QStringList{"MQN_LoadIlcFile = 1"};
    }

    void learningAtStart()
    {
        QFETCH(QString, mode);
        QFETCH(QString, count);
        QFETCH(QStringList, calls);
        QFETCH(QStringList, lines);

        initCrd(false);
        AddTableRow(*host, form, "BufDelay", {"5"});
        setLearning(true, mode, count);
        host->find<QLineEdit>(WidgetNames::ilcPathEdit)
            ->setText(QStringLiteral("/no/such/run.ilc"));
        rvsim_journal_clear();
        start();
        QCOMPARE(CommandJournal().mid(0, calls.size()), calls);
        QCOMPARE(TestHost::Lines(), lines);
    }

    void pauseCollectsTheLearningErrors()
    {
        initCrd(true);
        AddTableRow(*host, form, "LnXYEx", {"10", "0", "100", "10000", "1"});
        setLearning(true, QStringLiteral("Learning"), QStringLiteral("0"));
        start();
        rvsim_advance_ms(200);
        rvsim_journal_clear();
        QVERIFY(QMetaObject::invokeMethod(form, "OnPauseBtnClicked"));
        // X on profile 2 is bit 1; the run ended, so the profiles can be zeroed.
        QCOMPARE(CommandJournal(), (QStringList{"MQN_Stop(1, 2, 0)", "MQN_StopIlc(1, 1, out)",
                                                "MQN_ZeroPos(1, 1, 8)"}));
        QCOMPARE(TestHost::Lines().size(), 3);
        QVERIFY(TestHost::Lines()[0].startsWith(QLatin1String("ErrorMax = ")));
        QVERIFY(TestHost::Lines()[0].mid(11).toDouble() > 0);
        QVERIFY(TestHost::Lines()[1].startsWith(QLatin1String("ErrorRms = ")));
        QVERIFY(TestHost::Lines()[2].startsWith(QLatin1String("ErrorAvg = ")));
        QCOMPARE(host->find<QLineEdit>(WidgetNames::ilcCountEdit)->text(), QStringLiteral("1"));
    }

    void restartAndStop()
    {
        initCrd(false);
        QVERIFY(QMetaObject::invokeMethod(form, "OnRestartBtnClicked"));
        QCOMPARE(TestHost::Lines(), QStringList{"MQN_CrdStart = 1"}); // nothing in the buffer
        rvsim_inject("MQN_Stop", -1, 1);
        {
            ModalBoxAnswerer answerer;
            QVERIFY(QMetaObject::invokeMethod(form, "OnStopBtnClicked"));
            QCOMPARE(answerer.first().text,
                     QStringLiteral("MQN_Stop = -1\r\n----Host failed to communicate with motion "
                                    "controller!"));
        }
        // An abrupt stop of the profiles of X, Y and Z: 2, 3 and 4, bits 1 to 3.
        QCOMPARE(CommandJournal(), (QStringList{"MQN_CrdStart(1, 1, 0)", "MQN_Stop(1, 14, 14)"}));
    }

    void programStreams_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("lines");

        const QStringList flushAndStart{"MQN_CrdDataEx(1, 1, null, 0)", "MQN_CrdStart(1, 1, 0)"};
        QTest::newRow("five lines") << "G1 X1 F100\nX2\nN7 X3\nG0 X0 EF50\nDELAY20"
                                    << QStringList{"MQN_LnXYZEx(1, 1, 1, 0, 0, 100, 300, 0, 0, 0)",
                                                   "MQN_LnXYZEx(1, 1, 2, 0, 0, 100, 300, 0, 0, 0)",
                                                   "MQN_LnXYZEx(1, 1, 3, 0, 0, 100, 300, 7, 0, 0)",
                                                   "MQN_LnXYZG0Ex(1, 1, 0, 0, 0, 50, 300, 7, 0, 0)",
                                                   "MQN_BufDelayEx(1, 1, 20, 0)",
                                                   // a line without motion repeats the last move
                                                   "MQN_LnXYZG0Ex(1, 1, 0, 0, 0, 50, 300, 7, 0, 0)"}
                                           + flushAndStart
                                    << QStringList{"BufDelayTime = 20"};
        QTest::newRow("empty: nothing to run")
            << QString() << flushAndStart << QStringList{"MQN_CrdStart = 1"};
        QTest::newRow("laser words report the compare")
            << "H1\nH0"
            << QStringList{"MQN_BufPosCompareStartEx(1, 1, 0, 1)",
                           "MQN_BufPosCompareStopEx(1, 1, 0, 1)"}
                   + flushAndStart
            << QStringList{"MQN_BufPosCompareStartExEnable = 1"};
    }

    void programStreams()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, calls);
        QFETCH(QStringList, lines);

        initCrd(true);
        runProgram(program);
        QCOMPARE(CommandJournal(), calls);
        QCOMPARE(TestHost::Lines(), lines);
    }

    void bufferStartsTheMotionOnce_data()
    {
        QTest::addColumn<int>("capacity"); // 0: the controller's own
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("failingSpaceQueries");
        QTest::addColumn<int>("refusedStarts");
        QTest::addColumn<int>("sentBeforeStart");
        QTest::addColumn<QStringList>("hostLines");

        QTest::newRow("1500 lines: at line 1000") << 0 << 1500 << 0 << 0 << 1000 << QStringList();
        // 200 held back by the look-ahead, 300 in the FIFO.
        QTest::newRow("FIFO of 300, 2000 lines: when full")
            << 300 << 2000 << 0 << 0 << 500 << QStringList();
        QTest::newRow("FIFO of 8, 205 lines: full only in the final flush")
            << 8 << 205 << 0 << 0 << 205 << QStringList();
        // A failing query is no full buffer: starting then would start on an empty one.
        QTest::newRow("failing space queries first: still at line 1000")
            << 0 << 6000 << 20 << 0 << 1000 << QStringList{"MQN_CrdSpace = -1"};
        QTest::newRow("a refused start is made again at the next line")
            << 0 << 1500 << 0 << 1 << 1001 << QStringList{"MQN_CrdStart = 1"};
    }

    void bufferStartsTheMotionOnce()
    {
        QFETCH(int, capacity);
        QFETCH(int, lines);
        QFETCH(int, failingSpaceQueries);
        QFETCH(int, refusedStarts);
        QFETCH(int, sentBeforeStart);
        QFETCH(QStringList, hostLines);

        openWithFifo(capacity);
        rvsim_set_time_scale(1e6);
        rvsim_use_manual_clock(0);
        if (failingSpaceQueries > 0)
            rvsim_inject("MQN_CrdSpace", -1, failingSpaceQueries);
        if (refusedStarts > 0)
            rvsim_inject("MQN_CrdStart", 1, refusedStarts);
        runProgram(FeedProgram(lines, 1000));
        const QStringList calls = CommandJournal();
        QCOMPARE(countOf(calls, "MQN_CrdStart"), 1 + refusedStarts);
        const int started = int(calls.lastIndexOf(QRegularExpression("MQN_CrdStart.*")));
        QCOMPARE(countOf(calls.mid(0, started), "MQN_LnXYZEx"), sentBeforeStart);
        QCOMPARE(countOf(calls, "MQN_LnXYZEx"), lines);
        QTRY_COMPARE(CompletedSegments(), lines);
        // The status timer's run time aside.
        QCOMPARE(TestHost::Lines().filter(QRegularExpression("^MQN_")), hostLines);
    }

    // The worker's last look at its stop request comes before the call that sends line 1000;
    // a Stop pressed while that call is under way must still keep the start from following.
    void stopJustBeforeTheThresholdStartsNothing()
    {
        MyThread* worker = startHeldStream(1000, 999);
        QVERIFY(worker);
        QVERIFY(QMetaObject::invokeMethod(form, "OnStopBtnClicked"));
        rvsim_release();
        QTRY_VERIFY(worker->isFinished());
        const QStringList calls = CommandJournal();
        QCOMPARE(countOf(calls, "MQN_LnXYZEx"), 1000);
        QCOMPARE(countOf(calls, "MQN_CrdStart"), 0);
    }

    // A Start that comes while a stopped worker winds down (its thread still running) finds the
    // stop request still standing.
    void startWhileAStoppedWorkerEndsStartsNothing()
    {
        MyThread* worker = startHeldStream(50, 0);
        QVERIFY(worker);
        std::atomic<int> lateStart{-1}; // set on the worker's thread
        connect(
            worker, &MyThread::MotionFinished, worker,
            [worker, &lateStart] { lateStart = worker->StartMotion(); }, Qt::DirectConnection);
        QVERIFY(QMetaObject::invokeMethod(form, "OnStopBtnClicked"));
        rvsim_release();
        QTRY_VERIFY(worker->isFinished());
        QCOMPARE(lateStart.load(), 0);
        QCOMPARE(countOf(CommandJournal(), "MQN_CrdStart"), 0);
    }

    void stopWinsOverAPendingStart_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("flushStaysFull");
        QTest::addColumn<bool>("byClosing");

        // A FIFO of 8 behind a look-ahead of 200 on a frozen clock: 208 lines fill it.
        QTest::newRow("stop while waiting for space") << 400 << false << false;
        QTest::newRow("stop while flushing the look-ahead") << 5 << true << false;
        QTest::newRow("closing while waiting for space") << 400 << false << true;
        QTest::newRow("closing while flushing the look-ahead") << 5 << true << true;
    }

    void stopWinsOverAPendingStart()
    {
        QFETCH(int, lines);
        QFETCH(bool, flushStaysFull);
        QFETCH(bool, byClosing);

        openWithFifo(8);
        if (flushStaysFull)
            rvsim_inject("MQN_CrdDataEx", 1, -1);
        host->find<QTextEdit>(WidgetNames::programTextView)->setPlainText(FeedProgram(lines, 1000));
        start();
        QPointer<QThread> worker = form->findChild<QThread*>();
        QVERIFY(worker);
        if (flushStaysFull)
            QTRY_VERIFY(countOf(CommandJournal(), "MQN_CrdDataEx") >= 3);
        else
            QTRY_VERIFY(countOf(CommandJournal(), "MQN_LnXYZEx") >= 208);
        QVERIFY(!worker->isFinished());

        const int stoppedAt = rvsim_journal_count();
        if (byClosing) {
            host->area()->closeAllSubWindows();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!worker); // the form waited for its worker
        } else {
            QVERIFY(QMetaObject::invokeMethod(form, "OnStopBtnClicked"));
            QTRY_VERIFY(worker->isFinished());
        }
        const QStringList after = CommandJournal();
        const QStringList tail = Journal().mid(stoppedAt);
        QCOMPARE(countOf(tail, "MQN_CrdStart"), 0);
        // A stop ends the stream after the line being sent when it came, at most that one.
        QVERIFY(countOf(tail, "MQN_LnXYZEx") <= 1);
        QVERIFY(countOf(after, "MQN_CrdStart") <= 1);
    }

    void pauseThenStartGoesOn_data()
    {
        QTest::addColumn<QString>("job");
        QTest::newRow("streamed program in the buffer, its worker ended") << "streamed";
        QTest::newRow("streamed program still being sent") << "sending";
        QTest::newRow("table run") << "table";
    }

    // Start after Pause goes on with the paused job's rest: nothing is sent again, the path never
    // goes back along itself and the job ends at its last line, once.
    void pauseThenStartGoesOn()
    {
        QFETCH(QString, job);
        const int lines = 300;
        double lastX = 0; // mm
        if (job == "sending") {
            QVERIFY(startStream(lines));
            lastX = (lines - 1) * 0.01;
        } else if (job == "streamed") {
            initCrd(true);
            runProgram(FeedProgram(lines, 1000));
            lastX = (lines - 1) * 0.01;
        } else {
            initCrd(true);
            for (const char* x : {"10", "20", "30"})
                AddTableRow(*host, form, "LnXYEx", {x, "0", "100", "10000", "1"});
            start();
            lastX = 30;
        }
        rvsim_path_enable(1);
        rvsim_path_clear();
        rvsim_advance_ms(50);
        QVERIFY(QMetaObject::invokeMethod(form, "OnPauseBtnClicked"));
        rvsim_advance_ms(1000);
        QVERIFY(CompletedSegments() >= 0); // the motion stands
        QVERIFY(standingX() < lastX);

        const qsizetype before = CommandJournal().size();
        start();
        const QStringList atStart = CommandJournal().mid(before);
        QCOMPARE(atStart.filter("MQN_CrdStart"), QStringList{"MQN_CrdStart(1, 1, 0)"});
        if (job != "sending")
            QCOMPARE(atStart, QStringList{"MQN_CrdStart(1, 1, 0)"});
        QCOMPARE(form->findChildren<QThread*>().size(), job == "table" ? 0 : 1);

        finishRunning();
        const QStringList calls = CommandJournal();
        QCOMPARE(countOf(calls, "MQN_CrdClear"), 0);
        QCOMPARE(countOf(calls, "MQN_CrdStart"), 2);
        // Every line or row was sent once.
        QCOMPARE(countOf(calls, "MQN_Ln"), job == "table" ? 3 : lines);
        QVERIFY(pathNeverGoesBack());
        QCOMPARE(standingX(), lastX);
    }

    void stopEndsTheJob_data()
    {
        QTest::addColumn<QString>("first");   // "streamed" or "table"
        QTest::addColumn<QString>("between"); // what the operator does before the second Start
        QTest::addColumn<QString>("second");  // "streamed" or "table"

        const auto row
            = [](const char* name, const char* first, const char* between, const char* second) {
                  QTest::newRow(name) << QString(first) << QString(between) << QString(second);
              };
        row("stop, start of another program", "streamed", "stop", "streamed");
        row("stop while sending, start of another", "sending", "stop", "streamed");
        row("pause, stop, start of another program", "streamed", "pause stop", "streamed");
        row("pause, stop, start of the same program", "streamed", "pause stop", "same");
        row("paused, another program put in", "streamed", "pause", "streamed");
        row("paused while sending, another program put in", "sending", "pause", "streamed");
        row("paused table, rows changed", "table", "pause", "table");
        row("stopped table, program put in", "table", "stop", "streamed");
        row("stopped table, the same table", "table", "stop", "same");
    }

    // After a Stop, or a Pause whose job was replaced, the next Start clears the buffer before
    // its first command, and nothing of the earlier job runs after it.
    void stopEndsTheJob()
    {
        QFETCH(QString, first);
        QFETCH(QString, between);
        QFETCH(QString, second);

        if (first == "sending") {
            QVERIFY(startStream(400));
        } else {
            initCrd(true);
            if (first == "table") {
                for (const char* x : {"10", "20", "30"})
                    AddTableRow(*host, form, "LnXYEx", {x, "0", "100", "10000", "1"});
                start();
            } else {
                runProgram(FeedProgram(300, 1000));
            }
        }
        rvsim_advance_ms(50);
        if (between.contains("pause")) {
            QVERIFY(QMetaObject::invokeMethod(form, "OnPauseBtnClicked"));
            rvsim_advance_ms(1000);
        }
        if (between.contains("stop"))
            QVERIFY(QMetaObject::invokeMethod(form, "OnStopBtnClicked"));
        QVERIFY(CompletedSegments() >= 0);

        // The second job runs along Y = 5, apart from anything the first one did.
        const int journalled = rvsim_journal_count();
        int secondCommands = 0;
        if (second == "streamed") {
            host->find<QPushButton>(WidgetNames::clearAllButton)->click();
            host->find<QTextEdit>(WidgetNames::programTextView)
                ->setPlainText("G0 X0 Y5 EF100\nG1 X1 Y5 F100\nX2 Y5\nX3 Y5");
            secondCommands = 4;
        } else if (second == "table") {
            host->find<QTableWidget>(WidgetNames::commandTable)->setRowCount(0);
            for (const char* x : {"1", "2"})
                AddTableRow(*host, form, "LnXYEx", {x, "5", "100", "10000", "1"});
            secondCommands = 2;
        }
        rvsim_path_enable(1);
        rvsim_path_clear();
        start();
        finishRunning();
        const QStringList calls = Journal().mid(journalled);
        const int clear = int(calls.indexOf(QRegularExpression("^MQN_CrdClear\\(1, 1, 0\\)$")));
        QVERIFY2(clear >= 0, qPrintable(calls.mid(0, 5).join(" / ")));
        // A stopped worker may still send the line it was sending: before the clear.
        const QStringList afterClear = calls.mid(clear);
        if (second == "same") {
            QCOMPARE(countOf(afterClear, "MQN_Ln"), first == "table" ? 3 : 300);
            return;
        }
        QCOMPARE(countOf(afterClear, "MQN_Ln"), secondCommands);
        QVERIFY(onlyTheSecondJobRan());
    }

    // A job that ran to its end leaves nothing to clear: the next Start sends at once.
    void startAfterAFinishedJobClearsNothing()
    {
        initCrd(true);
        AddTableRow(*host, form, "LnXYEx", {"1", "0", "100", "10000", "1"});
        start();
        finishRunning();
        QVERIFY(QMetaObject::invokeMethod(form, "OnPauseBtnClicked"));
        rvsim_journal_clear();
        start();
        QCOMPARE(CommandJournal().filter(QRegularExpression("^MQN_Crd")),
                 (QStringList{"MQN_CrdDataEx(1, 1, null, 0)", "MQN_CrdStart(1, 1, 0)"}));
    }

    // While a worker streams, Start says so and starts no second worker, and the host may hand
    // over its callbacks again: the worker keeps the callback it started with, so the two threads
    // share nothing there (the thread checker's run of this suite tells).
    void whileStreaming()
    {
        QThread* worker = startStream(400);
        QVERIFY(worker);
        {
            ModalBoxAnswerer answerer;
            start();
            QCOMPARE(answerer.first().text, QStringLiteral("The program is still being sent."));
        }
        QCOMPARE(form->findChildren<QThread*>().size(), 1);
        host->attach();
        QVERIFY(QMetaObject::invokeMethod(form, "OnStopBtnClicked"));
        QTRY_VERIFY(worker->isFinished());
        // The status timer's run time aside.
        QCOMPARE(TestHost::Lines().filter(QRegularExpression("^MQN_")), QStringList());
    }

    void statusFollowsTheRun()
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
            QCOMPARE(
                host->find<QLabel>(WidgetNames::perAxis(WidgetNames::prfPosValue, axis))->text(),
                QLatin1String(positions[axis]));
        QCOMPARE(host->find<QLabel>(WidgetNames::segmentValue)->text(),
                 QStringLiteral("segment0        RemainderSegNum0  runEmpty0"));
        QCOMPARE(TestHost::Lines().size(), 1);
        QVERIFY2(QRegularExpression("^CrdRunningTime=[0-9.e-]+s$")
                     .match(TestHost::Lines()[0])
                     .hasMatch(),
                 qPrintable(TestHost::Lines()[0]));
    }

    void runWatchTimesTheRun_data()
    {
        QTest::addColumn<QTime>("begin");
        QTest::addColumn<QTime>("end");
        QTest::addColumn<int>("elapsedMs");

        QTest::newRow("in the afternoon") << QTime(14, 0) << QTime(14, 0, 2, 500) << 2500;
        QTest::newRow("past midnight") << QTime(23, 59, 59) << QTime(0, 0, 1, 250) << 2250;
        QTest::newRow("within one tick") << QTime(9, 0) << QTime(9, 0) << 0;
    }

    // The run counts from the first tick that saw it to the first that saw it over.
    void runWatchTimesTheRun()
    {
        QFETCH(QTime, begin);
        QFETCH(QTime, end);
        QFETCH(int, elapsedMs);
        static QTime now;
        RunWatch watch([] { return now; });
        now = begin.addSecs(-60);
        QCOMPARE(watch.Observe(0, 0), RunWatch::Change::None);
        now = begin;
        QCOMPARE(watch.Observe(0, 1), RunWatch::Change::Began);
        now = begin.addMSecs(10);
        QCOMPARE(watch.Observe(1, 1), RunWatch::Change::None);
        now = end;
        QCOMPARE(watch.Observe(1, 0), RunWatch::Change::Ended);
        QCOMPARE(watch.ElapsedMs(), elapsedMs);
    }

private:
    void initCrd(bool open)
    {
        if (open)
            host->openLookAhead();
        QVERIFY(QMetaObject::invokeMethod(form, "OnInitBtnClicked"));
        QVERIFY(host->find(WidgetNames::bufferDataGroup)->isEnabled());
        StartJournal();
    }
    void start() { QVERIFY(QMetaObject::invokeMethod(form, "OnStartBtnClicked")); }
    void tick() { QVERIFY(QMetaObject::invokeMethod(form, "OnTimer")); }
    // Starts the program and waits for its worker to finish streaming.
    void runProgram(const QString& text)
    {
        host->find<QTextEdit>(WidgetNames::programTextView)->setPlainText(text);
        start();
        auto* worker = form->findChild<QThread*>();
        QVERIFY(worker);
        QTRY_VERIFY_WITH_TIMEOUT(worker->isFinished(), 20000);
    }
    void setLearning(bool enabled, const QString& mode, const QString& count)
    {
        host->find<QCheckBox>(WidgetNames::ilcEnableCheck)->setChecked(enabled);
        host->find<QComboBox>(WidgetNames::ilcModeCombo)->setCurrentText(mode);
        host->find<QLineEdit>(WidgetNames::ilcCountEdit)->setText(count);
    }
    void openWithFifo(int capacity)
    {
        host.reset();
        rvsim_configure(0, 0, 0, 0, capacity);
        rvsim_use_manual_clock(1);
        host = LinkedTestHost();
        form = host->open();
        initCrd(true);
    }
    // Starts a stream of `lines` feed moves into a FIFO of 8 and waits until the full buffer
    // has started the motion; the frozen clock keeps it running and the worker waiting for
    // space. Returns the worker, or null when the motion did not start.
    QThread* startStream(int lines)
    {
        openWithFifo(8);
        host->find<QTextEdit>(WidgetNames::programTextView)->setPlainText(FeedProgram(lines, 1000));
        start();
        const bool started
            = QTest::qWaitFor([] { return countOf(CommandJournal(), "MQN_CrdStart") == 1; });
        return started ? form->findChild<QThread*>() : nullptr;
    }
    // Starts a stream of `lines` feed moves with look-ahead open, holding its send after
    // `passing` others; returns the worker once that send is held, or null.
    MyThread* startHeldStream(int lines, int passing)
    {
        initCrd(true);
        rvsim_hold("MQN_LnXYZEx", passing);
        host->find<QTextEdit>(WidgetNames::programTextView)->setPlainText(FeedProgram(lines, 1000));
        start();
        auto* worker = form->findChild<MyThread*>();
        return worker && rvsim_wait_held(10000) ? worker : nullptr;
    }
    // Lets simulated time run until the workers have sent everything and the motion stands.
    void finishRunning()
    {
        rvsim_set_time_scale(1e6);
        rvsim_use_manual_clock(0);
        for (QThread* worker : form->findChildren<QThread*>())
            QTRY_VERIFY_WITH_TIMEOUT(worker->isFinished(), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(CompletedSegments() >= 0, 20000);
    }
    // The scale the window offers with look-ahead open.
    static constexpr double pulsesPerMm = 10000;
    // Where X stands, in mm.
    static double standingX()
    {
        double pulses = 0;
        MQN_GetPrfPos(1, 2, &pulses, 1, nullptr); // X is on profile 2
        return pulses / pulsesPerMm;
    }
    static bool pathNeverGoesBack()
    {
        const std::vector<RecordedPoint> path = RecordedPath();
        for (std::size_t point = 1; point < path.size(); ++point)
            if (path[point].positions[0] < path[point - 1].positions[0] - 1e-6)
                return false;
        return !path.empty();
    }
    // Every point recorded after the first lies on the second job's line Y = 5 mm.
    static bool onlyTheSecondJobRan()
    {
        const std::vector<RecordedPoint> path = RecordedPath();
        return path.size() > 1
               && std::all_of(path.begin() + 1, path.end(), [](const RecordedPoint& point) {
                      return std::abs(point.positions[1] - 5 * pulsesPerMm) <= 1e-6;
                  });
    }
    std::unique_ptr<TestHost> host;
    QWidget* form = nullptr;
};

QTEST_MAIN(TestRunControl)

#include "tst_runcontrol.moc"
