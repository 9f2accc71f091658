// The workbench: the operator window it hosts, its command line, and its cockpit (the dry run
// from the menu, the progress line, the backplot, Run from line, the recent programs).
#include "gcode/ProgramText.h"
#include "planner/DryRun.h"
#include "planner/SimulatorInterface.h"
#include "workbench/BackplotView.h"
#include "workbench/FrameJob.h"
#include "workbench/HistoryDock.h"
#include "workbench/JobNotifier.h"
#include "workbench/JobRecorder.h"
#include "workbench/MachineWatch.h"
#include "workbench/ModuleHost.h"
#include "workbench/RecentPrograms.h"
#include "workbench/Workbench.h"

#include "ModalBoxAnswerer.h"
#include "WindowTest.h"

#include <QApplication>
#include <QComboBox>
#include <QDBusConnection>
#include <QDockWidget>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>

#include <cmath>
#include <csignal>
#include <thread>

// The desktop's notification service as far as the workbench uses it: what it was asked to say.
class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QStringList said;

public slots:
    uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap&, int)
    {
        said << summary + QStringLiteral(" / ") + body;
        return uint(said.size());
    }
};

class TestWorkbench : public QObject
{
    Q_OBJECT

private slots:
    // The recent programs and the resumed ones go to the suite's own folders, neither the user's
    // nor those of another suite running beside it.
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, files.filePath("settings"));
    }

    // The module keeps its settings beside the application: here, this test's own folder.
    void init()
    {
        const QString settings
            = QCoreApplication::applicationDirPath() + QStringLiteral("/modules/Crd.ini");
        QFile::remove(settings);
        TestHost::WriteNeutralSettings(settings, CrdResourceRecord{1, 2, 1, 1, {}});
        rvsim_reset(); // a run an earlier test stopped may not stand yet on its frozen clock
    }

    void aTableRunsToItsEnd()
    {
        const auto opened = openWorkbench();
        Workbench& workbench = *opened;
        QWidget* init = workbench.findChild<QWidget*>(WidgetNames::initCrdButton);
        // 10 mm by 5 mm at 100 mm/s and 1000 mm/s^2: about a quarter of a second.
        startTableRun(workbench, {"10", "5", "100", "1000", "0", "1"});
        QTRY_VERIFY_WITH_TIMEOUT(!init->isEnabled(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(init->isEnabled(), 10000);
        QTRY_COMPARE(workbench.outputLines().size(), 1);
        QVERIFY2(workbench.outputLines().constFirst().startsWith(QLatin1String("CrdRunningTime=")),
                 qPrintable(workbench.outputLines().constFirst()));

        // The watch takes the path and the figures at its next look.
        const auto lastPlotted = [&workbench] {
            const PathPoints& path = workbench.backplot()->Path();
            return path.empty() ? QPointF(-1, -1) : QPointF(path.back()[0], path.back()[1]);
        };
        QTRY_COMPARE(lastPlotted(), QPointF(10, 5));
        QTRY_VERIFY2(workbench.progressText().startsWith(QLatin1String("Finished in "))
                         && workbench.progressText().endsWith(QLatin1String(" 1 segment")),
                     qPrintable(workbench.progressText()));
    }

    void escapeInADialogStopsARunFirst_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("none: the operator window's program field") << "";
        QTest::newRow("the program's file dialog") << "openProgramAction";
        QTest::newRow("a message box") << "describeAction";
        QTest::newRow("the dry run's progress") << "dryRunProgress";
    }

    // Esc anywhere in the workbench reaches the operator window's stop: the machine stops, then a
    // dialog closes as Esc closes it; the stop is logged.
    void escapeInADialogStopsARunFirst()
    {
        QFETCH(QString, dialog);
        const auto workbench = openWorkbench();
        rvsim_use_manual_clock(1);
        startTableRun(*workbench,
                      {"1000", "0", "10", "1000", "0", "1"}); // goes on while the clock stands
        QTRY_VERIFY2(workbench->progressText().startsWith(QLatin1String("Running")),
                     qPrintable(workbench->progressText()));
        StartJournal();
        const auto pressEscapeInTheDialog = [] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box);
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape);
        };
        QSignalSpy dryRunEnded(workbench.get(), &Workbench::dryRunFinished);
        if (dialog == QLatin1String("dryRunProgress")) {
            // Long enough that the dry run is still under way when Esc comes.
            workbench->dryRun(write("long.nc", FeedProgram(300000, 100).toUtf8()));
            auto* progress = workbench->findChild<QWidget*>(dialog);
            QVERIFY(progress);
            QTest::keyClick(progress, Qt::Key_Escape);
            // Esc there ends the dry run too.
            QVERIFY(!dryRunEnded.isEmpty() || dryRunEnded.wait(5000));
            QCOMPARE(dryRunEnded.constFirst().constFirst().toBool(), false);
            QVERIFY(!workbench->findChild<QWidget*>(dialog));
        } else if (dialog.isEmpty()) {
            QTest::keyClick(workbench->findChild<QWidget*>(WidgetNames::programPathEdit),
                            Qt::Key_Escape);
        } else {
            QTimer::singleShot(0, workbench.get(), pressEscapeInTheDialog);
            workbench->findChild<QAction*>(dialog)->trigger();
        }
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY2(Journal().contains(QStringLiteral("MQN_Stop(1, 14, 14)")),
                 qPrintable(Journal().join(' ')));
        QVERIFY2(workbench->outputLines().indexOf(
                     QRegularExpression("^Stop at \\d\\d:\\d\\d:\\d\\d: segment 0 of 1$"))
                     >= 0,
                 qPrintable(workbench->outputLines().join('\n')));
        rvsim_journal_enable(0);
        rvsim_use_manual_clock(0);
    }

    void controlsDoWhatTheySay_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("the toolbar's Stop") << "Stop";
        QTest::newRow("the backplot's Clear") << "Clear";
        QTest::newRow("the backplot's Zoom to fit") << "Zoom to fit";
        QTest::newRow("the backplot's plane") << "plane";
        QTest::newRow("Describe module") << "Describe";
    }

    // Each control, pressed as an operator presses it, does what it says.
    void controlsDoWhatTheySay()
    {
        QFETCH(QString, control);
        const auto workbench = openWorkbench();
        BackplotView* plot = workbench->backplot();
        const auto button = [&workbench](const QString& text) {
            for (QPushButton* found : workbench->findChildren<QPushButton*>()) {
                if (found->text() == text)
                    return found;
            }
            return static_cast<QPushButton*>(nullptr);
        };
        plot->AddPoints({{0, 0, 0}, {100, 0, 40}, {100, 50, 40}});
        const QRectF fitted = plot->View().world;
        if (control == QLatin1String("Stop")) {
            rvsim_use_manual_clock(1);
            startTableRun(*workbench, {"1000", "0", "10", "1000", "0", "1"});
            QTRY_VERIFY(workbench->progressText().startsWith(QLatin1String("Running")));
            workbench->findChild<QAction*>(QStringLiteral("stopAction"))->trigger();
            QCOMPARE(workbench->outputLines().filter(QRegularExpression("^Stop at ")).size(), 1);
            rvsim_use_manual_clock(0);
        } else if (control == QLatin1String("Clear")) {
            QTest::mouseClick(button(control), Qt::LeftButton);
            QVERIFY(plot->Path().empty());
        } else if (control == QLatin1String("Zoom to fit")) {
            QWheelEvent wheel(QPointF(10, 10), plot->mapToGlobal(QPointF(10, 10)), QPoint(),
                              QPoint(0, 480), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(plot, &wheel);
            QVERIFY(plot->View().world != fitted);
            QTest::mouseClick(button(control), Qt::LeftButton);
            QCOMPARE(plot->View().world, fitted);
        } else if (control == QLatin1String("plane")) {
            // Seen from the side, the path is 40 mm high rather than 50 mm deep.
            auto* plane = workbench->findChild<QComboBox*>(QStringLiteral("backplotPlane"));
            plane->setCurrentIndex(plane->findText(QStringLiteral("XZ")));
            QTRY_VERIFY(plot->View().world != fitted);
        } else {
            ModalBoxAnswerer answerer;
            workbench->findChild<QAction*>(QStringLiteral("describeAction"))->trigger();
            QVERIFY2(answerer.first().text.startsWith(QLatin1String("name: ")),
                     qPrintable(answerer.first().text));
        }
    }

    // What the status bar says through a streamed job on the manual clock: the count carries on
    // through Pause and resume, a Stop ends the job at its segment and line, a second start
    // begins a new one, and it finishes.
    void statusBarFollowsTheJob()
    {
        const auto workbench = openWorkbench();
        rvsim_use_manual_clock(1);
        const QString program = write("long.nc", FeedProgram(6000, 100).toUtf8());
        auto* mode = workbench->findChild<QComboBox*>(WidgetNames::lookAheadModeCombo);
        mode->setCurrentIndex(mode->findText(QStringLiteral("Open")));
        workbench->openProgram(program);
        QWidget* form = workbench->findChild<QWidget*>(WidgetNames::form);
        auto history = std::make_unique<JobHistory>();
        QString error;
        QVERIFY(history->Open(files.filePath("status-history.sqlite"), error));
        JobRecorder recorder(std::move(history), QStringLiteral("m1"));
        connect(workbench->machineWatch(), &MachineWatch::Observed, &recorder,
                &JobRecorder::Observe);
        const auto text = [&workbench] {
            return workbench->progressText();
        };
        const auto executed = [&text] {
            const QRegularExpressionMatch match
                = QRegularExpression("([0-9,]+) of 6,000 segments").match(text());
            return match.hasMatch() ? match.captured(1).remove(',').toInt() : -1;
        };

        workbench->initialiseAndStart();
        QTRY_VERIFY2(text().startsWith(QLatin1String("Running")) && text().contains("line "),
                     qPrintable(text()));
        // Steps short enough that the buffer, refilled as the worker polls, never runs dry.
        rvsim_advance_ms(20);
        QTRY_VERIFY2(executed() > 0, qPrintable(text()));

        QMetaObject::invokeMethod(form, "OnPauseBtnClicked");
        rvsim_advance_ms(500); // the machine brakes to a stand
        QTRY_VERIFY2(text().startsWith(QLatin1String("Paused")), qPrintable(text()));
        const int atPause = executed();
        const QString paused = text();
        rvsim_advance_ms(1000);
        QTest::qWait(100);
        QCOMPARE(text(), paused); // nothing moves, the time left stands

        QMetaObject::invokeMethod(form, "OnStartBtnClicked");
        rvsim_advance_ms(20);
        QTRY_VERIFY2(text().startsWith(QLatin1String("Running")) && executed() > atPause,
                     qPrintable(text()));

        workbench->stopMotion();
        rvsim_advance_ms(500);
        // Under the thread checker beside a busy build, the stop once took 8 s to show.
        QTRY_VERIFY2_WITH_TIMEOUT(
            QRegularExpression("^Stopped at segment [0-9,]+, line [0-9,]+ \u00b7 run ")
                .match(text())
                .hasMatch(),
            qPrintable(text()), 30000);
        QCOMPARE(workbench->outputLines().filter(QRegularExpression("^Stop at ")).size(), 1);
        const JobEntry stopped = recorder.History().Entries().constFirst();
        QCOMPARE(stopped.outcome, JobEntry::Outcome::Stopped);
        QVERIFY2(
            text().contains(
                QStringLiteral("line %1 ").arg(QLocale(QLocale::English).toString(stopped.line))),
            qPrintable(text()));
        QCOMPARE(stopped.program, program);

        QTRY_VERIFY(!form->findChild<QThread*>() || form->findChild<QThread*>()->isFinished());
        // On the wall clock the worker keeps well ahead of the 60 mm the program takes.
        rvsim_use_manual_clock(0);
        QMetaObject::invokeMethod(form, "OnStartBtnClicked");
        QTRY_VERIFY2_WITH_TIMEOUT(text().startsWith(QLatin1String("Finished in ")),
                                  qPrintable(text()), 30000);
        QVERIFY2(text().endsWith(QLatin1String(" 6,000 segments")), qPrintable(text()));
        const QList<JobEntry> jobs = recorder.History().Entries();
        QCOMPARE(jobs.size(), qsizetype(2));
        QCOMPARE(jobs[0].outcome, JobEntry::Outcome::Finished);
        QCOMPARE(jobs[0].segment, jobs[0].segments);
        QCOMPARE(jobs[0].lookAhead, QStringLiteral("Open"));
        // The dock lists the latest first, each outcome in a colour of its own.
        HistoryDock dock(recorder.History());
        const auto* table = dock.findChild<QTableWidget*>();
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(0, 2)->text(), QStringLiteral("finished"));
        QCOMPARE(table->item(1, 2)->text(), QStringLiteral("stopped"));
        QVERIFY(table->item(0, 2)->foreground() != table->item(1, 2)->foreground());
        // A job a killed workbench left: the operator is asked whether to go on with it.
        QSignalSpy goOn(&dock, &HistoryDock::RunFromLineWanted);
        JobEntry interrupted = stopped;
        interrupted.outcome = JobEntry::Outcome::Interrupted;
        {
            ModalBoxAnswerer answerer;
            dock.OfferToGoOn({interrupted});
            QCOMPARE(answerer.first().title, QStringLiteral("Interrupted job"));
        }
        QCOMPARE(goOn.size(), 1);
        QCOMPARE(goOn.first().value(1).value<qsizetype>(), qsizetype(stopped.line));
    }

    // A job the buffer holds whole goes on after Pause where it stood: the count follows the one
    // job to its end and never passes its total.
    void pausedJobInTheBufferGoesOn()
    {
        const auto workbench = openWorkbench();
        rvsim_use_manual_clock(1);
        auto* mode = workbench->findChild<QComboBox*>(WidgetNames::lookAheadModeCombo);
        mode->setCurrentIndex(mode->findText(QStringLiteral("Open")));
        workbench->openProgram(QStringLiteral(KURVO_EXAMPLES_DIR "/contour.nc"));
        QWidget* form = workbench->findChild<QWidget*>(WidgetNames::form);
        QStringList seen;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (seen.isEmpty() || seen.constLast() != workbench->progressText())
                seen << workbench->progressText();
        });
        watch.start(5);

        workbench->initialiseAndStart();
        QTRY_VERIFY(form->findChild<QThread*>() && form->findChild<QThread*>()->isFinished());
        rvsim_advance_ms(2000);
        QTRY_VERIFY2(workbench->progressText().startsWith(QLatin1String("Running")),
                     qPrintable(workbench->progressText()));
        QMetaObject::invokeMethod(form, "OnPauseBtnClicked");
        rvsim_advance_ms(1000);
        QTRY_VERIFY2(workbench->progressText().startsWith(QLatin1String("Paused")),
                     qPrintable(workbench->progressText()));

        StartJournal();
        QMetaObject::invokeMethod(form, "OnStartBtnClicked");
        QCOMPARE(CommandJournal(), QStringList{"MQN_CrdStart(1, 1, 0)"});
        rvsim_set_time_scale(100);
        rvsim_use_manual_clock(0);
        QTRY_VERIFY2_WITH_TIMEOUT(workbench->progressText().startsWith(QLatin1String("Finished")),
                                  qPrintable(workbench->progressText()), 20000);
        rvsim_journal_enable(0);
        QCOMPARE(CommandJournal().filter(QRegularExpression("^MQN_(Ln|Arc|Buf|CrdClear)")),
                 QStringList());

        const QRegularExpression count("([0-9,]+) of ([0-9,]+) segments");
        qlonglong total = 0;
        for (const QString& text : std::as_const(seen)) {
            const QRegularExpressionMatch match = count.match(text);
            if (!match.hasMatch())
                continue;
            const qlonglong done = match.captured(1).remove(',').toLongLong();
            total = match.captured(2).remove(',').toLongLong();
            QVERIFY2(done <= total, qPrintable(text));
        }
        QVERIFY(total > 3000);
        QVERIFY2(workbench->progressText().endsWith(
                     QStringLiteral(" %1 segments").arg(QLocale(QLocale::English).toString(total))),
                 qPrintable(workbench->progressText()));
    }

    // After a Stop, Run from line loads the resumed program and runs it alone; its preview's
    // lead-in starts where the machine stands.
    void runFromLineAfterAStop()
    {
        const auto workbench = openWorkbench();
        rvsim_use_manual_clock(1);
        startTableRun(*workbench, {"1000", "0", "10", "1000", "0", "1"});
        rvsim_advance_ms(1000);
        QTRY_VERIFY(workbench->progressText().startsWith(QLatin1String("Running")));
        workbench->stopMotion();
        const BackplotView* plot = workbench->backplot();
        QTRY_VERIFY(plot->CurrentPosition() && (*plot->CurrentPosition())[0] > 1);
        const PathPoint3 standing = *plot->CurrentPosition();

        const QString program = write("square.nc", "G0 X0 Y20 EF100\nG1 X20 F50\nY40\nX0\nY20\n");
        QSignalSpy shown(workbench.get(), &Workbench::previewShown);
        StartJournal();
        QVERIFY(workbench->runFrom(program, 3));
        // Loaded into the operator window as an operator loads it: five lines, as table rows.
        QVERIFY(workbench->findChild<QLineEdit*>(WidgetNames::programPathEdit)
                    ->text()
                    .endsWith(QLatin1String("/resumed/square from line 3.nc")));
        QVERIFY(shown.wait(30000));
        const std::vector<PreviewPoint>& preview = plot->Preview();
        QVERIFY(preview.size() > 2);
        QCOMPARE((QList<float>{preview[0].x, preview[0].y}),
                 (QList<float>{float(standing[0]), float(standing[1])}));
        QCOMPARE((QList<float>{preview[1].x, preview[1].y}), (QList<float>{20, 20}));

        QMetaObject::invokeMethod(workbench->findChild<QWidget*>(WidgetNames::form),
                                  "OnStartBtnClicked");
        rvsim_set_time_scale(100);
        rvsim_use_manual_clock(0);
        QTRY_VERIFY2_WITH_TIMEOUT(workbench->progressText().startsWith(QLatin1String("Finished")),
                                  qPrintable(workbench->progressText()), 20000);
        rvsim_journal_enable(0);
        const QStringList calls
            = CommandJournal().filter(QRegularExpression("^MQN_(Ln|Arc|CrdClear|CrdStart)"));
        QVERIFY2(calls.size() == 6 && calls[0] == QLatin1String("MQN_CrdClear(1, 1, 0)")
                     && calls[1].startsWith(QLatin1String("MQN_LnXYZG0")),
                 qPrintable(calls.join(" / ")));
        QCOMPARE(plot->CurrentPosition(), (std::optional<PathPoint3>{{0, 20, 0}}));
    }

#ifdef Q_OS_LINUX
    void endsCleanlyWhenAskedTo_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM: a logout, a service manager") << int(SIGTERM);
        QTest::newRow("SIGINT: Ctrl+C in a terminal") << int(SIGINT);
        QTest::newRow("SIGHUP: the terminal went") << int(SIGHUP);
    }

    // Asked by the system to end while it plans a program, the workbench ends as Quit ends it: the
    // operator window's settings saved, the dry run ended, the temporary folder gone.
    void endsCleanlyWhenAskedTo()
    {
        QFETCH(int, signalNumber);
        QTemporaryDir folder;
        const QDir host(folder.path());
        QVERIFY(
            QFile::copy(QStringLiteral(KURVO_WORKBENCH_PATH), host.filePath("kurvo-workbench")));
        QVERIFY(host.mkpath("modules") && host.mkpath("tmp") && host.mkpath("home"));
        TestHost::WriteNeutralSettings(host.filePath("modules/Crd.ini"),
                                       CrdResourceRecord{1, 2, 1, 1, {}});
        // Long enough that its dry run is still under way when the signal comes.
        static const QString program = write("signalled.nc", FeedProgram(400000, 100).toUtf8());

        QProcess workbench;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", host.filePath("home"));
        environment.insert("TMPDIR", host.filePath("tmp"));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        workbench.setProcessEnvironment(environment);
        workbench.start(host.filePath("kurvo-workbench"),
                        {"--module", KURVO_MODULE_PATH, "--lang", "en", "--program", program});
        QVERIFY(workbench.waitForStarted());
        const qint64 pid = workbench.processId();
        qint64 dryRun = 0;
        // Both waits end well within a test function's time-out, so that a workbench that does
        // not end fails the test and is killed with its QProcess, not left behind.
        QTRY_VERIFY_WITH_TIMEOUT((dryRun = firstChildOf(pid)) > 0, 20000);
        const QDir temporary(host.filePath("tmp"));
        QCOMPARE(temporary.entryList({"kurvo-workbench-*"}, QDir::Dirs).size(), 1);

        QCOMPARE(::kill(pid_t(pid), signalNumber), 0);
        // It ends once the window has the program in: under the thread checker, beside another
        // suite, the 400,000 lines took longer than 15 s.
        QVERIFY(workbench.waitForFinished(60000));
        QCOMPARE(workbench.exitStatus(), QProcess::NormalExit);
        QCOMPARE(workbench.exitCode(), 0);
        QSettings saved(host.filePath("modules/Crd.ini"), QSettings::IniFormat);
        QCOMPARE(saved.value("KurvoCore1Crd1/labOpenFileData").toString(), program);
        QCOMPARE(temporary.entryList({"kurvo-workbench-*"}, QDir::Dirs), QStringList());
        QTRY_VERIFY(!runs(dryRun));
    }
#endif

    // Quitting while a program streams stops the job and ends the worker before anything its
    // messages reach is destroyed (the sanitizers' runs of this suite tell).
    void quittingWhileAProgramStreams()
    {
        auto workbench = openWorkbench();
        auto* mode = workbench->findChild<QComboBox*>(WidgetNames::lookAheadModeCombo);
        mode->setCurrentIndex(mode->findText(QStringLiteral("Open")));
        // Every H1 line has the worker print a line in the host's output.
        QStringList program{"G1 F1000"};
        for (int line = 1; line < 100000; ++line)
            program << QStringLiteral("X%1 H%2").arg(line * 0.001).arg(line % 2);
        workbench->openProgram(write("laser.nc", program.join('\n').toUtf8()));
        rvsim_set_time_scale(100);
        StartJournal();
        workbench->initialiseAndStart();
        QWidget* form = workbench->findChild<QWidget*>(WidgetNames::form);
        QThread* worker = form->findChild<QThread*>();
        QVERIFY(worker);
        QTRY_VERIFY(workbench->progressText().startsWith(QLatin1String("Running")));
        QVERIFY(worker->isRunning());
        workbench.reset();
        rvsim_set_time_scale(1);
        QVERIFY(Journal().contains(QStringLiteral("MQN_Stop(1, 14, 14)")));
        QCOMPARE_GE(CompletedSegments(), 0); // the machine stands
        rvsim_journal_enable(0);
    }

    void hostLinesFromAnyThreadKeepTheirOrder()
    {
        Workbench workbench(HostConfig::defaults());
        const HostMessageCallback callback = ModuleHost::MessageCallback();
        constexpr int perThread = 500;
        auto send = [callback](const QString& prefix) {
            for (int i = 0; i < perThread; ++i)
                callback(prefix + QString::number(i));
        };
        std::thread worker(send, QStringLiteral("worker "));
        send(QStringLiteral("gui "));
        worker.join();
        QTRY_COMPARE(workbench.outputLines().size(), 2 * perThread);

        int nextGui = 0, nextWorker = 0;
        for (const QString& line : workbench.outputLines()) {
            int& next = line.startsWith(QLatin1String("gui ")) ? nextGui : nextWorker;
            QCOMPARE(line.section(QLatin1Char(' '), 1).toInt(), next++);
        }
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const QStringList& arguments, int exitCode,
                            const QString& message) {
            QTest::newRow(name) << arguments << exitCode << message;
        };

        row("missing module", {"--module", "/no/such/Kurvo.so"}, 2, "cannot load the module");
        row("library without KDV_SIGNAL", {"--module", NOT_A_MODULE_PATH}, 2, "has no KDV_SIGNAL");
        row("unknown language", {"--lang", "fr"}, 1, "--lang takes zh or en");
        row("unreadable configuration", {"--config", "/no/such/host.ini"}, 1,
            "cannot read the host configuration");
        const QString square = QStringLiteral(KURVO_EXAMPLES_DIR "/square.nc");
        for (const char* cores : {"abc", "-1", "99999"}) {
            const QString config = write(QStringLiteral("cores%1.ini").arg(cores),
                                         QByteArray("[host]\ncores=") + cores + "\n");
            const QString message
                = QStringLiteral("%1: host/cores = %2 is not a whole number from 0 to 16")
                      .arg(config, QLatin1String(cores));
            QTest::addRow("cores=%s", cores) << QStringList{"--config", config} << 1 << message;
            QTest::addRow("cores=%s, dry run", cores)
                << QStringList{"--dry-run", square, "--config", config} << 1 << message;
        }
        const QString slowMachine = write("slow.ini", "[dryRun]\nfeedMax=0\n");
        row("a dry-run machine without speed", {"--dry-run", square, "--config", slowMachine}, 1,
            slowMachine + ": dryRun/feedMax = 0 is not a number from 1e-06 to 1e+09");
        row("a program that is a folder",
            {"--program", files.path(), "--run", "--screenshot", "never.png"}, 1,
            "cannot read the program " + files.path() + ": it is not a regular file");
        row("a dry run of a folder", {"--dry-run", files.path()}, 1, "it is not a regular file");
        const QString binary = write("binary.nc", QByteArray("G1 X1\n\0\x01\x02", 9));
        row("a dry run of a binary file", {"--dry-run", binary}, 1, "is no text (a binary file?)");
        row("a dry run of an empty program", {"--dry-run", write("empty.nc", "\n  \n")}, 1,
            "is empty");
        row("a dry run of broken UTF-8", {"--dry-run", write("utf.nc", "X\xc3\n")}, 1,
            "is no text (a binary file?)");
        row("a dry run of wide white space", {"--dry-run", write("nbsp.nc", "\xc2\xa0\n")}, 1,
            "is empty");
        const QString differently = write("differently.nc", "G1 X1 F100.5 M3\nX2\n");
        row("a dry run for people", {"--dry-run", differently}, 0,
            "program check: 1 line read differently (1 danger, 0 warning, 0 info)\n"
            "  danger: 1 line (the path or the speed differs from what the program means)\n"
            "    line 1: F100.5 read as F100 M3 \u2014 the feed is cut to whole mm/s");
        row("a dry run for scripts", {"--dry-run", differently, "--json"}, 0,
            "\"linesReadDifferently\": 1,");
        const QString resumable = write("resumable.nc", "G0 X1 EF200\nG1 X0.00005 F100 H1\nX9\n");
        row("the program Run from line loads", {"--resume-from", "3", resumable}, 0,
            "H0\nG00 G17 X0.00005 Y0 Z0 F100 D300 EF200 ED300\nG02 H1\nG01 X9\n");
        row("no such line to go on at", {"--resume-from=4", resumable}, 1,
            "--resume-from takes a line of " + resumable + " from 1 to 3, not 4");
        row("waiting for no run", {"--exit-when-done"}, 1, "--exit-when-done goes with --run");
        row("help", {"--help"}, 0, "--screenshot");
        row("version", {"--version"}, 0, "kurvo-workbench 0.1");
    }

    // Without a display: the process gets none, and only the window's runs get the offscreen
    // platform.
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);

        QProcess workbench;
        const bool window
            = arguments.filter(QRegularExpression("^--(dry-run|resume-from|help|version)"))
                  .isEmpty();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), files.filePath("data"));
        if (!window)
            environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        workbench.setProcessEnvironment(environment);
        workbench.start(QStringLiteral(KURVO_WORKBENCH_PATH), arguments);
        QVERIFY(workbench.waitForFinished(30000));
        QCOMPARE(workbench.exitStatus(), QProcess::NormalExit);
        QCOMPARE(workbench.exitCode(), exitCode);
        const QString output = QString::fromUtf8(workbench.readAllStandardError()
                                                 + workbench.readAllStandardOutput());
        QVERIFY2(output.contains(message), qPrintable(output));
    }

    // Every job goes into the history: one run to its end as --exit-when-done reports it, and
    // one a killed workbench left running, found interrupted at the next start.
    void historyKeepsEveryJob()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), files.filePath("history-data"));
        const auto start = [&environment](QProcess& process, const QStringList& arguments) {
            process.setProcessEnvironment(environment);
            process.start(QStringLiteral(KURVO_WORKBENCH_PATH), arguments);
            return process.waitForStarted();
        };
        const auto history = [&start] {
            QProcess printing;
            if (!start(printing, {"--history", "--json"}) || !printing.waitForFinished(10000))
                return QJsonArray();
            return QJsonDocument::fromJson(printing.readAllStandardOutput()).array();
        };
        const auto field = [](const QJsonArray& jobs, int index, const char* name) {
            return jobs.at(index).toObject().value(QLatin1String(name));
        };
        // The workbench's settings keep the program loaded last for its next start, and there
        // it must still be: one of the examples (ten lines, run as table rows), and a file beside
        // this test.
        const QStringList quick{"--program", QStringLiteral(KURVO_EXAMPLES_DIR "/square.nc"),
                                "--run", "--exit-when-done"};
        QProcess workbench;
        QVERIFY(start(workbench, quick) && workbench.waitForFinished(30000));
        QCOMPARE(workbench.exitCode(), 0);
        QCOMPARE(field(history(), 0, "outcome"), QStringLiteral("finished"));
        QCOMPARE(field(history(), 0, "segments"), 9);

        const QString slow = QCoreApplication::applicationDirPath() + QStringLiteral("/slow.nc");
        QVERIFY(WriteFile(slow, "G01 X30 Y0 F1 D500\nX0\n"));
        QVERIFY(start(workbench, {"--program", slow, "--run"}));
        const auto slowJobHasRun = [&] {
            const QJsonArray jobs = history();
            return field(jobs, 0, "outcome") == QLatin1String("running")
                   && field(jobs, 0, "runSeconds").toDouble() >= 1;
        };
        QTRY_VERIFY_WITH_TIMEOUT(slowJobHasRun(), 20000);
        workbench.kill();
        workbench.waitForFinished();
        QCOMPARE(field(history(), 0, "outcome"), QStringLiteral("running"));
        QVERIFY(start(workbench, quick) && workbench.waitForFinished(30000));
        QCOMPARE(workbench.exitCode(), 0);
        const QJsonArray jobs = history();
        QCOMPARE(jobs.size(), 3);
        QCOMPARE(field(jobs, 0, "outcome"), QStringLiteral("finished"));
        QCOMPARE(field(jobs, 1, "outcome"), QStringLiteral("interrupted"));
        QVERIFY(field(jobs, 1, "runSeconds").toDouble() >= 1);
        QVERIFY(!field(jobs, 1, "ended").toString().isEmpty());
    }

    // A job's end is told through the notification service of a private session bus, only
    // while the window is not the active one.
    void notificationSaysHowTheJobEnded()
    {
        QProcess daemon;
        daemon.start(QStringLiteral("dbus-daemon"),
                     {"--session", "--nofork", "--nopidfile", "--print-address"});
        QVERIFY(daemon.waitForReadyRead(10000));
        const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
        QDBusConnection service = QDBusConnection::connectToBus(address, "notifications");
        FakeNotifications notifications;
        QVERIFY(service.registerService("org.freedesktop.Notifications"));
        QVERIFY(service.registerObject("/org/freedesktop/Notifications", &notifications,
                                       QDBusConnection::ExportAllSlots));
        QWidget window;
        JobNotifier notifier(&window, QDBusConnection::connectToBus(address, "workbench"));
        JobEntry entry;
        entry.program = QStringLiteral("/jobs/bracket.nc");
        entry.outcome = JobEntry::Outcome::Stopped;
        entry.segment = 356;
        entry.line = 1234;
        notifier.JobEnded(entry);
        entry.program.clear();
        entry.outcome = JobEntry::Outcome::Finished;
        entry.segments = 3208;
        entry.runSeconds = 75;
        notifier.JobEnded(entry);
        QTRY_COMPARE(notifications.said,
                     QStringList({"Job stopped / bracket.nc: stopped at segment 356, line 1,234",
                                  "Job finished / The table: 3,208 segments in 1:15"}));

        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        notifier.JobEnded(entry);
        QTest::qWait(200);
        QCOMPARE(notifications.said.size(), 2);
        daemon.kill();
        daemon.waitForFinished();
    }

    void dryRunPlansTheWindowsMachine_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("open");

        QTest::newRow("the square, look-ahead closed") << "square.nc" << false;
        QTest::newRow("the square, look-ahead open") << "square.nc" << true;
        QTest::newRow("the contour, look-ahead open") << "contour.nc" << true;
    }

    // The menu's dry run plans what the window set up with "Init Crd": its cycle time is the run's
    // on the virtual controller, within 1%.
    void dryRunPlansTheWindowsMachine()
    {
        QFETCH(QString, program);
        QFETCH(bool, open);
        const QString path = QStringLiteral(KURVO_EXAMPLES_DIR "/") + program;
        const auto workbench = openWorkbench();
        QWidget* form = workbench->findChild<QWidget*>(WidgetNames::form);
        auto* mode = workbench->findChild<QComboBox*>(WidgetNames::lookAheadModeCombo);
        mode->setCurrentIndex(open ? 1 : 0);
        QMetaObject::invokeMethod(form, "OnInitBtnClicked");
        workbench->openProgram(path);

        QSignalSpy finished(workbench.get(), &Workbench::dryRunFinished);
        workbench->dryRun(path);
        QVERIFY(finished.wait(60000));
        QVERIFY2(finished.constFirst().constFirst().toBool(),
                 qPrintable(workbench->outputLines().join('\n')));
        const QStringList cycle = workbench->outputLines().filter(QStringLiteral("cycle time: "));
        QCOMPARE(cycle.size(), 1);
        const double plannedSeconds
            = cycle.constFirst().section(QLatin1Char(' '), -2, -2).toDouble();

        rvsim_path_clear();
        rvsim_set_time_scale(20);
        workbench->initialiseAndStart();
        const auto ranToItsEnd = [] {
            int32_t left = 1;
            MQN_GetRemainderSegNum(1, 1, &left, 0);
            return CompletedSegments() >= 0 && left == 0 && rvsim_path_count() > 1;
        };
        QTRY_VERIFY_WITH_TIMEOUT(ranToItsEnd(), 20000);
        rvsim_set_time_scale(1);
        const std::vector<RecordedPoint> ran = RecordedPath();
        const double ranSeconds = (ran.back().ms - ran.front().ms) / 1000;
        QVERIFY2(std::abs(plannedSeconds - ranSeconds) <= 0.01 * ranSeconds,
                 qPrintable(
                     QStringLiteral("planned %1 s, ran %2 s").arg(plannedSeconds).arg(ranSeconds)));
    }

    // The worker and the dry run stream through one loop: the same commands in the same order,
    // the start and the final push of the look-ahead included.
    void workerAndDryRunSendTheSameCalls()
    {
        const QString path = QStringLiteral(KURVO_EXAMPLES_DIR "/contour.nc");
        const auto streamed = [](const QStringList& calls) {
            return calls.filter(QRegularExpression("^MQN_(Ln|Arc|Buf|CrdDataEx|CrdStart)"));
        };
        QStringList fromTheWorker;
        {
            const auto workbench = openWorkbench();
            rvsim_use_manual_clock(1); // the buffer holds the whole program
            QWidget* form = workbench->findChild<QWidget*>(WidgetNames::form);
            QMetaObject::invokeMethod(form, "OnInitBtnClicked");
            workbench->openProgram(path);
            StartJournal();
            QMetaObject::invokeMethod(form, "OnStartBtnClicked");
            auto* worker = form->findChild<QThread*>();
            QVERIFY(worker);
            QTRY_VERIFY_WITH_TIMEOUT(worker->isFinished(), 20000);
            fromTheWorker = streamed(Journal());
        }
        SimulatorInterface simulator = *SimulatorInterface::Find();
        simulator.reset = [] {
            rvsim_reset();
            rvsim_journal_enable(1); // the run's calls alone
        };
        DryRunReport report;
        QString error;
        QVERIFY2(DryRun(*ProgramText::Read(path), DryRunMachine(), simulator, {}, report, error),
                 qPrintable(error));
        QCOMPARE(fromTheWorker.size(), 3206 + 2 + 2); // moves, laser on and off, push, start
        QCOMPARE(streamed(Journal()), fromTheWorker);
        rvsim_journal_enable(0);
    }

    // The figures of a dry run reach the output pane; the program joins the recent ones.
    void dryRunFromTheMenu()
    {
        WriteRecentPrograms({});
        Workbench workbench(HostConfig::defaults());
        workbench.setDryRunExecutable(QStringLiteral(KURVO_WORKBENCH_PATH));
        const QString program = QFINDTESTDATA("../../workbench/examples/square.nc");
        QSignalSpy finished(&workbench, &Workbench::dryRunFinished);
        workbench.dryRun(program);
        QVERIFY(finished.wait(60000));
        QCOMPARE(finished.constFirst().constFirst().toBool(), true);
        const QStringList lines = workbench.outputLines();
        QCOMPARE(lines.constFirst(), QStringLiteral("Dry run of %1:").arg(program));
        QVERIFY2(lines.size() == 7 && lines.at(1).startsWith(QLatin1String("  cycle time: "))
                     && lines.at(6) == QLatin1String("  program check: 0 lines read differently"),
                 qPrintable(lines.join('\n')));
        QCOMPARE(ReadRecentPrograms(), QStringList{QFileInfo(program).absoluteFilePath()});
    }

    void previewDrawsUnderTheExecutedPath()
    {
        BackplotView plot;
        plot.resize(400, 300);
        plot.SetPreview(Summarised({{0, 0, 0, 0, false},
                                    {50, 0, 0, 100, true},
                                    {50, 40, 0, 20, false},
                                    {0, 40, 0, 200, false},
                                    {25, 20, 0, 20, false}}));
        QCOMPARE(plot.PreviewTopSpeed(), 200.0);
        QTRY_VERIFY(!plot.Drawing());
        // The slow move's last pixel, inside the box, in the slowest band's colour.
        const QRgb slowest = QColor::fromHsvF(0.66 * (1 - 0.5 / 8), 0.85, 0.85).rgb();
        QCOMPARE(plot.grab().toImage().pixel(plot.View().ToPixel(QPointF(25, 20))), slowest);
        const auto coloursOf = [&plot] {
            const QImage image = plot.grab().toImage();
            QSet<QRgb> colours;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    colours.insert(image.pixel(x, y) & 0xffffff);
            return colours;
        };
        QSet<QRgb> colours = coloursOf();
        QVERIFY(colours.contains(qRgb(150, 150, 150) & 0xffffff)); // the rapid move
        QVERIFY(
            colours.contains(QColor::fromHsvF(0.66 * (1 - 7.5 / 8), 0.85, 0.85).rgb() & 0xffffff));

        plot.Clear();
        QTRY_VERIFY(!plot.Drawing());
        QVERIFY(plot.Preview().empty());
        QVERIFY(!coloursOf().contains(qRgb(150, 150, 150) & 0xffffff));
    }

    // The preview's file keeps only the points it needs, to the micrometre, and draws the very
    // same picture from them: every pixel of the path, in its pen, lies within a pixel of one of
    // the picture drawn from every point the dry run took, fitted and a hundred times closer.
    void previewFileDrawsTheSamePicture()
    {
        const std::optional<ProgramText> contour
            = ProgramText::Read(QStringLiteral(KURVO_EXAMPLES_DIR "/contour.nc"));
        DryRunReport report;
        QString error;
        QVERIFY(DryRun(*contour, DryRunMachine(), *SimulatorInterface::Find(), {}, report, error,
                       PathWanted::Yes));
        const QString file = files.filePath(QStringLiteral("contour.preview"));
        QVERIFY(WritePreviewPath(file, report.path));
        std::optional<PreviewFile> read = ReadPreviewPath(file);
        QVERIFY(read && read->points.size() < report.path.size());
        QVERIFY(QFileInfo(file).size() < qint64(report.path.size() * sizeof(PreviewPoint) / 8));

        BackplotView all, kept;
        all.SetPreview(Summarised(report.path));
        kept.SetPreview(Summarised(std::move(read->points), read->topSpeed));
        const PreviewPoint& middle = report.path[report.path.size() / 2];
        for (const int wheel : {0, 3072}) { // 1.0015 to the 3072nd is 100
            QImage pictures[2];
            for (BackplotView* plot : {&all, &kept}) {
                plot->resize(400, 300);
                plot->FitToPath();
                const QPointF anchor
                    = plot->View().ToPixel(Project({middle.x, middle.y, middle.z}, PlotPlane::XY));
                QWheelEvent zoom(anchor, plot->mapToGlobal(anchor), QPoint(), QPoint(0, wheel),
                                 Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(plot, &zoom);
                QTRY_VERIFY(!plot->Drawing());
                pictures[plot == &kept] = plot->grab().toImage();
            }
            // Pens of runs shorter than a pixel may cover one another in another order.
            const int drawn = pathPixels(pictures[0]);
            QVERIFY(drawn > 1000);
            for (const auto& [picture, other] : {std::pair(0, 1), std::pair(1, 0)}) {
                const int astray = unmatched(pictures[picture], pictures[other]);
                QVERIFY2(
                    astray <= drawn / 200,
                    qPrintable(
                        QStringLiteral("%1 of %2, wheel %3").arg(astray).arg(drawn).arg(wheel)));
            }
        }
    }

    // Loaded, a program is planned in the background, the status line saying so meanwhile: its
    // path in the backplot, and what the dialect reads otherwise in the output pane; only danger
    // and warning in the status bar.
    void loadingAProgramPreviewsIt()
    {
        const auto workbench = openWorkbench();
        QSignalSpy shown(workbench.get(), &Workbench::previewShown);
        workbench->openProgram(QStringLiteral(KURVO_EXAMPLES_DIR "/contour.nc"));
        QCOMPARE(workbench->progressText(), QStringLiteral("Loading program… 0%"));
        QVERIFY(shown.wait(30000));
        QTRY_COMPARE(workbench->progressText(), QStringLiteral("Idle"));
        QVERIFY(workbench->backplot()->Preview().size() > 3200);
        QVERIFY(workbench->outputLines().contains(
            QStringLiteral("Program check of " KURVO_EXAMPLES_DIR "/contour.nc:")));
        // Its moves of length 0 are harmless: counted in the output pane, not in the status bar.
        QVERIFY(workbench->outputLines().contains(QStringLiteral(
            "  program check: 204 lines read differently (0 danger, 0 warning, 204 info)")));
        QCOMPARE(workbench->statusBar()->currentMessage(), QString());
    }

    // Framing traces the program's box with the laser off, as a job of its own planned first;
    // afterwards the program is back in the window.
    void frameTracesTheBoxWithTheLaserOff()
    {
        const auto workbench = openWorkbench();
        QSignalSpy shown(workbench.get(), &Workbench::previewShown);
        const QString square = QStringLiteral(KURVO_EXAMPLES_DIR "/square.nc");
        workbench->openProgram(square);
        QVERIFY(!shown.isEmpty() || shown.wait(30000));
        FrameJob frame(*workbench, FrameMotion{100, 1000});
        StartJournal();
        QVERIFY(frame.Frame(FrameShape::Box));
        auto* path = workbench->findChild<QLineEdit*>(WidgetNames::programPathEdit);
        QTRY_VERIFY(path->text().endsWith(QLatin1String("/frames/square frame.nc")));
        QTRY_VERIFY_WITH_TIMEOUT(path->text() == square, 20000);
        rvsim_journal_enable(0);
        const QStringList calls
            = CommandJournal().filter(QRegularExpression("^MQN_(Ln|Arc|BufLaser)"));
        QVERIFY2(calls.size() == 7 && calls[0].startsWith(QLatin1String("MQN_BufLaserOff"))
                     && calls.filter(QRegularExpression("^MQN_BufLaserOn")).isEmpty()
                     && calls.filter(QRegularExpression("^MQN_Ln")).size() == 5,
                 qPrintable(calls.join(" / ")));
        // Round the square's box, 20 mm a side at 1000 pulses a mm.
        QVERIFY2(calls[4].contains(QLatin1String("20000, 20000")), qPrintable(calls[4]));
    }

    // Every action of the menus answers a shortcut of its own, and the Help page lists it.
    void everyActionAnswersItsShortcut()
    {
        const auto workbench = openWorkbench();
        FrameJob frame(*workbench, FrameMotion{});
        frame.AddActions();
        QList<QAction*> actions = menuActions(*workbench);
        QVERIFY(actions.size() >= 12);
        // What the actions open is closed as it comes; Quit comes last.
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        closer.start(20);
        std::stable_partition(actions.begin(), actions.end(), [](const QAction* action) {
            return action->objectName() != QLatin1String("quitAction");
        });
        const QStringList page = workbench->shortcutLines();
        QSet<QString> keys;
        for (QAction* action : std::as_const(actions)) {
            const QString name = action->text().remove(QLatin1Char('&'));
            QVERIFY2(!action->shortcut().isEmpty(), qPrintable(name));
            keys << action->shortcut().toString();
            QCOMPARE(page.filter(QRegularExpression("\t" + QRegularExpression::escape(name) + "$"))
                         .size(),
                     1);
            QTRY_VERIFY(!QApplication::activeModalWidget());
            workbench->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(workbench.get()));
            QSignalSpy triggered(action, &QAction::triggered);
            QTest::keySequence(workbench.get(), action->shortcut());
            QTRY_VERIFY2(triggered.size() == 1, qPrintable(name));
        }
        QCOMPARE(keys.size(), actions.size());
        QTRY_VERIFY(!workbench->isVisible());
    }

    // The workbench's own texts follow the language switch as the operator window's do: every
    // menu, action, dock, button and the status line, and back.
    void textsFollowTheLanguage()
    {
        const auto workbench = openWorkbench();
        FrameJob frame(*workbench, FrameMotion{});
        frame.AddActions();
        const auto texts = [&workbench] {
            QStringList all{workbench->windowTitle(), workbench->progressText()};
            for (const QAction* action : menuActions(*workbench, &all))
                all << action->text();
            for (const QDockWidget* dock : workbench->findChildren<QDockWidget*>())
                all << dock->windowTitle();
            for (const QAction* action : workbench->findChild<QToolBar*>()->actions())
                all << action->text() << action->toolTip();
            for (const QPushButton* button :
                 workbench->findChild<QDockWidget*>("backplotDock")->findChildren<QPushButton*>())
                all << button->text();
            return all;
        };
        const QStringList english = texts();
        QVERIFY(english.contains("&Program") && english.contains("Idle"));
        workbench->findChild<QAction*>("chineseAction")->trigger();
        QTRY_VERIFY(texts().contains(QStringLiteral("程序(&P)")));
        const QStringList chinese = texts();
        for (qsizetype i = 0; i < english.size(); ++i)
            QVERIFY2(chinese[i] != english[i], qPrintable(english[i]));
        QVERIFY(chinese.contains(QStringLiteral("空闲")));
        QTest::keySequence(workbench.get(), QKeySequence("Ctrl+Alt+E"));
        QTRY_COMPARE(texts(), english);
    }

    // On a screen smaller than it likes (800 by 800 here), the workbench keeps to the screen
    // with its status bar in sight, and the operator window scrolls inside it.
    void fitsASmallScreen()
    {
        Workbench workbench(HostConfig::defaults());
        QString error;
        QVERIFY2(workbench.loadModule(QStringLiteral(KURVO_MODULE_PATH), error), qPrintable(error));
        workbench.setOpeningLanguage(LanguageEnglish);
        workbench.fitScreen();
        workbench.show();
        workbench.openOperatorWindow();
        const QRect screen = workbench.screen()->availableGeometry();
        QTRY_VERIFY2(
            screen.contains(workbench.frameGeometry()),
            qPrintable(QStringLiteral("%1 x %2").arg(workbench.width()).arg(workbench.height())));
        QVERIFY(workbench.rect().contains(workbench.statusBar()->geometry()));
        QVERIFY(workbench.statusBar()->isVisible());
        QMdiArea* area = workbench.mdiArea();
        QTRY_VERIFY(area->horizontalScrollBar()->isVisible()
                    || area->verticalScrollBar()->isVisible());
        for (QScrollBar* scroll : {area->horizontalScrollBar(), area->verticalScrollBar()})
            scroll->setValue(scroll->maximum());
        auto* form = workbench.findChild<QWidget*>(WidgetNames::form);
        const QPoint corner = form->mapTo(area->viewport(), QPoint(form->width(), form->height()));
        QVERIFY2(corner.x() <= area->viewport()->width()
                     && corner.y() <= area->viewport()->height(),
                 qPrintable(QStringLiteral("%1, %2").arg(corner.x()).arg(corner.y())));
    }

    // A program that goes past the machine's travel is said in a box when it loads.
    void loadSaysWhenTheProgramDoesNotFit()
    {
        const auto workbench = openWorkbench(write("travel.ini", "[travel]\nxMax=10\n"));
        ModalBoxAnswerer answerer;
        QSignalSpy shown(workbench.get(), &Workbench::previewShown);
        workbench->openProgram(QStringLiteral(KURVO_EXAMPLES_DIR "/square.nc"));
        QVERIFY(!shown.isEmpty() || shown.wait(30000));
        QTRY_COMPARE(answerer.boxes().size(), 1);
        QVERIFY2(answerer.first().text.contains("line 3: X goes 5.000 mm past its maximum 10 mm"),
                 qPrintable(answerer.first().text));
    }

    // A program of common G-code imported as from the menu: the operator says whether to go on past
    // its tool change, and the program written for the dialect is loaded, its preview planned,
    // with nothing the program check counts as danger or warning.
    void importLoadsTheConvertedProgram()
    {
        const auto workbench = openWorkbench();
        const QString program
            = write("cam.ngc", "(Generated by a CAM)\nG21 G90\nT1 M6\nM3 S9000\n"
                               "G0 X5 Y5\nG1 X20 F1200\nG2 X30 Y5 I5 J0\nM5\nM2\n");
        QSignalSpy shown(workbench.get(), &Workbench::previewShown);
        {
            ModalBoxAnswerer answerer; // takes the notes
            QVERIFY(workbench->importCommonGCode(program));
            QVERIFY2(answerer.first().text.startsWith("cannot convert " + program
                                                      + ": line 3: T1 M6 (a tool change)"),
                     qPrintable(answerer.first().text));
        }
        QVERIFY(workbench->findChild<QLineEdit*>(WidgetNames::programPathEdit)
                    ->text()
                    .endsWith(QLatin1String("/converted/cam.nc")));
        QVERIFY(workbench->outputLines().contains("  line 3: T1 M6 (a tool change)"));
        QVERIFY(!shown.isEmpty() || shown.wait(30000));
        QVERIFY(workbench->backplot()->Preview().size() > 3);
        QCOMPARE(workbench->statusBar()->currentMessage(), QString());
    }

    void recentProgramsKeepTheLatestEight()
    {
        const auto program = [this](int number) {
            return files.filePath(QStringLiteral("p%1.nc").arg(number));
        };
        QStringList recent;
        for (const int number : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 5})
            recent = WithRecent(recent, program(number));
        QCOMPARE(recent, (QStringList{program(5), program(9), program(8), program(7), program(6),
                                      program(4), program(3), program(2)}));
    }

private:
    // A workbench with the module loaded and its operator window open; its dry runs are the
    // workbench's own.
    std::unique_ptr<Workbench> openWorkbench(const QString& config = QString())
    {
        auto workbench = std::make_unique<Workbench>(HostConfig::defaults(), config);
        QString error;
        if (!workbench->loadModule(QStringLiteral(KURVO_MODULE_PATH), error))
            qFatal("%s", qPrintable(error));
        workbench->setOpeningLanguage(LanguageEnglish);
        workbench->setDryRunExecutable(QStringLiteral(KURVO_WORKBENCH_PATH));
        workbench->show();
        workbench->openOperatorWindow();
        return workbench;
    }
    // The actions of the menus and their submenus but the recent programs' list; the menus'
    // titles go into `titles` when asked for.
    static QList<QAction*> menuActions(const Workbench& workbench, QStringList* titles = nullptr)
    {
        QList<QAction*> actions;
        const auto collect = [&](const QMenu* menu, const auto& self) -> void {
            if (titles)
                *titles << menu->title();
            for (QAction* action : menu->actions()) {
                if (action->menu() && action->menu()->objectName() != QLatin1String("recentMenu"))
                    self(action->menu(), self);
                else if (!action->menu() && !action->isSeparator())
                    actions << action;
            }
        };
        for (const QAction* menu : workbench.menuBar()->actions())
            collect(menu->menu(), collect);
        return actions;
    }
    // Sets the coordinate system up and starts a table of one line of these cells.
    void startTableRun(Workbench& workbench, const QStringList& cells)
    {
        const auto click = [&workbench](const char* button) {
            QTest::mouseClick(workbench.findChild<QPushButton*>(button), Qt::LeftButton);
        };
        click(WidgetNames::initCrdButton);
        click(WidgetNames::addDataButton);
        auto* table = workbench.findChild<QTableWidget*>(WidgetNames::commandTable);
        for (int column = 1; column <= cells.size(); ++column)
            static_cast<QLineEdit*>(table->cellWidget(0, column))->setText(cells[column - 1]);
        click(WidgetNames::startCrdButton);
    }
#ifdef Q_OS_LINUX
    // A child process of `pid`, 0 when it has none.
    static qint64 firstChildOf(qint64 pid)
    {
        const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
        for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile children(tasks + QLatin1Char('/') + task + QStringLiteral("/children"));
            if (!children.open(QIODevice::ReadOnly))
                continue;
            const QList<QByteArray> pids = children.readAll().simplified().split(' ');
            if (!pids.constFirst().isEmpty())
                return pids.constFirst().toLongLong();
        }
        return 0;
    }
    // Whether the process runs, neither gone nor a zombie waiting to be reaped.
    static bool runs(qint64 pid)
    {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return false;
        const QByteArray text = stat.readAll();
        const qsizetype state = text.lastIndexOf(')') + 2;
        return state < text.size() && text[state] != 'Z';
    }
#endif
    // How many pixels of `picture` have not their colour in `other` a pixel away at most.
    static int unmatched(const QImage& picture, const QImage& other)
    {
        int count = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb colour = picture.pixel(x, y);
                bool near = false;
                for (int dy = -1; !near && dy <= 1; ++dy)
                    for (int dx = -1; !near && dx <= 1; ++dx)
                        near = other.valid(x + dx, y + dy) && other.pixel(x + dx, y + dy) == colour;
                count += near ? 0 : 1;
            }
        }
        return count;
    }
    // The pixels in a preview's pens: the rapid moves' grey and the colours of the speeds.
    static int pathPixels(const QImage& picture)
    {
        QSet<QRgb> pens{qRgb(150, 150, 150)};
        for (int band = 0; band < speedBands; ++band)
            pens << QColor::fromHsvF(0.66 * (1 - (band + 0.5) / speedBands), 0.85, 0.85).rgb();
        int count = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                count += pens.contains(picture.pixel(x, y)) ? 1 : 0;
        return count;
    }
    // Writes `bytes` into a file of the suite's own folder; returns its path.
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = files.filePath(name);
        if (!WriteFile(path, bytes))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir files;
};

QTEST_MAIN(TestWorkbench)
#include "tst_workbench.moc"
