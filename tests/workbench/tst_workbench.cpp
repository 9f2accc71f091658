#include "BackplotView.h"
#include "MachineWatch.h"
#include "RecentPrograms.h"
#include "Workbench.h"

#include "form/WidgetNames.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "ModalBoxAnswerer.h"
#include "TestHost.h"
#include "rvsim.h"

#include <thread>

class TestWorkbench : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void configurationFile();
    void configurationThatCannotBeLoaded_data();
    void configurationThatCannotBeLoaded();
    void aTableRunsToItsEnd();
    void showsTheOperatorWindow();
    void opensOnTheSampleProgram();
    void escapeStopsTheMotion();
    void hostLinesFromAnyThreadKeepTheirOrder();
    void dryRunFromTheMenu();
    void noBackplotWithoutTheVirtualController();

    void commandLine_data();
    void commandLine();
    void screenshotOffscreen();
};

// The module keeps its settings beside the application: here, this test's own folder.
void TestWorkbench::init()
{
    const QString settings
        = QCoreApplication::applicationDirPath() + QStringLiteral("/modules/Crd.ini");
    QFile::remove(settings);
    TestHost::WriteNeutralSettings(settings, CrdResourceRecord{1, 2, 1, 1, {}});
}

void TestWorkbench::configurationFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("host.ini"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[host]\ncores=2\ncrd=0\nuseMmUnits=0\n"
               "[axes]\npulsesPerMm=500\n"
               "[core2]\nvelocityFactor=2\nprofile3\\pulsesPerMm=3\n");
    file.close();

    HostConfig config;
    QString error;
    QVERIFY(HostConfig::load(path, config, error));
    QCOMPARE(config.resource.coreCount, int16_t(2));
    QCOMPARE(config.resource.crdCount, int16_t(2));
    QCOMPARE(config.resource.crd, int16_t(0));
    QCOMPARE(int(config.axisTable->useMmUnits), 0);
    QCOMPARE(config.axisTable->pulsesPerMm[0][2], 500.0);
    QCOMPARE(config.axisTable->pulsesPerMm[1][2], 3.0);
    QCOMPARE(config.axisTable->pulsesPerMm[1][3], 500.0);
    QCOMPARE(config.axisTable->velocityFactor[1][0], 2.0);
    QCOMPARE(config.axisTable->velocityFactor[0][0], 1.0);
    QCOMPARE(config.axisTable->accelerationFactor[1][0], 0.001);
}

void TestWorkbench::configurationThatCannotBeLoaded_data()
{
    QTest::addColumn<QByteArray>("content"); // none: no file at all
    QTest::addColumn<QString>("error");
    QTest::newRow("malformed") << QByteArray("[host]\ncores=1\n\"crd=2\n") << "not a valid INI file";
    QTest::newRow("missing") << QByteArray() << "host.ini";
}

void TestWorkbench::configurationThatCannotBeLoaded()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, error);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("host.ini"));
    if (!content.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    HostConfig config;
    QString message;
    QVERIFY(!HostConfig::load(path, config, message));
    QVERIFY2(message.contains(error), qPrintable(message));
}

void TestWorkbench::aTableRunsToItsEnd()
{
    Workbench workbench(HostConfig::defaults());
    QString error;
    QVERIFY2(workbench.loadModule(QStringLiteral(KURVO_MODULE_PATH), error), qPrintable(error));
    workbench.setOpeningLanguage(LanguageEnglish);
    workbench.show();
    workbench.openOperatorWindow();
    auto find = [&workbench](const char* name) {
        return workbench.findChild<QWidget*>(QLatin1String(name));
    };
    QTest::mouseClick(static_cast<QPushButton*>(find(WidgetNames::initCrdButton)), Qt::LeftButton);
    QTest::mouseClick(static_cast<QPushButton*>(find(WidgetNames::addDataButton)), Qt::LeftButton);
    auto* table = static_cast<QTableWidget*>(find(WidgetNames::commandTable));
    QCOMPARE(table->rowCount(), 1);
    // 10 mm by 5 mm at 100 mm/s and 1000 mm/s^2: about a quarter of a second.
    const char* cells[] = {"10", "5", "100", "1000", "0", "1"};
    for (int column = 1; column <= 6; ++column)
        static_cast<QLineEdit*>(table->cellWidget(0, column))
            ->setText(QLatin1String(cells[column - 1]));
    QTest::mouseClick(static_cast<QPushButton*>(find(WidgetNames::startCrdButton)), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!find(WidgetNames::initCrdButton)->isEnabled(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(find(WidgetNames::initCrdButton)->isEnabled(), 10000);
    QTRY_COMPARE(workbench.outputLines().size(), 1);
    QVERIFY2(workbench.outputLines().constFirst().startsWith(QLatin1String("CrdRunningTime=")),
             qPrintable(workbench.outputLines().constFirst()));
    QCOMPARE(static_cast<QLabel*>(find(WidgetNames::runValue))->text(), QStringLiteral("0"));
    const QString x = static_cast<QLabel*>(workbench.findChild<QWidget*>(
                                               WidgetNames::perAxis(WidgetNames::prfPosValue, 0)))
                          ->text();
    QCOMPARE(x, QStringLiteral("10.000"));

    // The watch takes the path and the figures at its next look.
    const auto lastPlotted = [&workbench] {
        const PathPoints& path = workbench.backplot()->Path();
        return path.empty() ? QPointF(-1, -1) : QPointF(path.back()[0], path.back()[1]);
    };
    QTRY_COMPARE(lastPlotted(), QPointF(10, 5));
    QTRY_VERIFY2(workbench.progressText().startsWith(QLatin1String("1 of 1 segments")),
                 qPrintable(workbench.progressText()));
}

void TestWorkbench::showsTheOperatorWindow()
{
    Workbench workbench(HostConfig::defaults());
    QString error;
    QVERIFY2(workbench.loadModule(QStringLiteral(KURVO_MODULE_PATH), error), qPrintable(error));
    workbench.show();
    workbench.openOperatorWindow();
    auto* window = workbench.findChild<QMdiSubWindow*>(QLatin1String(WidgetNames::subWindow));
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->widget()->objectName(), QLatin1String(WidgetNames::form));
    QCOMPARE(workbench.describe().caption, QStringLiteral("插补运动"));

    workbench.setLanguage(LanguageEnglish);
    QCOMPARE(window->widget()->windowTitle(), QStringLiteral("Crd"));
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(workbench.mdiArea()->subWindowList().isEmpty());
    workbench.openOperatorWindow();
    QCOMPARE(workbench.mdiArea()->subWindowList().size(), 1);
}

void TestWorkbench::opensOnTheSampleProgram()
{
    const QString settings
        = QCoreApplication::applicationDirPath() + QStringLiteral("/modules/Crd.ini");
    QFile::remove(settings);
    QVERIFY(QFile::copy(QStringLiteral(KURVO_SAMPLE_SETTINGS), settings));
    Workbench workbench(HostConfig::defaults());
    QString error;
    QVERIFY2(workbench.loadModule(QStringLiteral(KURVO_MODULE_PATH), error), qPrintable(error));
    workbench.setOpeningLanguage(LanguageEnglish);
    workbench.show();
    {
        ModalBoxAnswerer noBox(0);
        workbench.openOperatorWindow();
    }
    auto* table = workbench.findChild<QTableWidget*>(QLatin1String(WidgetNames::commandTable));
    QVERIFY(table->isVisible());
    QStringList types;
    for (int row = 0; row < table->rowCount(); ++row)
        types << table->item(row, 0)->text();
    QCOMPARE(types, (QStringList{"LnXYZ", "LnXYZ", "ArcXYR", "LnXYZ", "ArcXYR", "LnXYZ", "ArcXYR",
                                 "LnXYZ", "ArcXYR"}));
    QVERIFY(workbench.findChild<QLineEdit*>(QLatin1String(WidgetNames::programPathEdit))
                ->text()
                .endsWith(QLatin1String("/workbench/examples/square.nc")));
}

// Esc anywhere in the workbench reaches the operator window's stop: the stream's worker ends
// and the coordinate system stops at once.
void TestWorkbench::escapeStopsTheMotion()
{
    Workbench workbench(HostConfig::defaults());
    QString error;
    QVERIFY2(workbench.loadModule(QStringLiteral(KURVO_MODULE_PATH), error), qPrintable(error));
    workbench.show();
    workbench.openOperatorWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&workbench));
    rvsim_journal_enable(1);
    rvsim_journal_clear();
    QTest::keyClick(workbench.findChild<QWidget*>(QLatin1String(WidgetNames::programPathEdit)),
                    Qt::Key_Escape);
    QStringList calls;
    for (int i = 0; i < rvsim_journal_count(); ++i)
        calls << QString::fromUtf8(rvsim_journal_entry(i));
    QVERIFY2(calls.contains(QStringLiteral("MQN_Stop(1, 1, 1)")), qPrintable(calls.join(' ')));
    rvsim_journal_enable(0);
}

void TestWorkbench::hostLinesFromAnyThreadKeepTheirOrder()
{
    Workbench workbench(HostConfig::defaults());
    const HostMessageCallback callback = Workbench::messageCallback();
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
        QCOMPARE(line.section(QLatin1Char(' '), 1).toInt(), next);
        ++next;
    }
}

// The figures of a dry run reach the output pane; the program joins the recent ones.
void TestWorkbench::dryRunFromTheMenu()
{
    QStandardPaths::setTestModeEnabled(true);
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
    QVERIFY2(lines.size() == 5 && lines.at(1).startsWith(QLatin1String("  cycle time: ")),
             qPrintable(lines.join('\n')));
    QCOMPARE(ReadRecentPrograms(), QStringList{QFileInfo(program).absoluteFilePath()});
}

void TestWorkbench::noBackplotWithoutTheVirtualController()
{
    QWidget host;
    FormProbe probe(&host);
    BackplotView plot;
    QLabel progress;
    MachineWatch watch(probe, nullptr, &plot, &progress, nullptr, nullptr);
    QVERIFY(plot.Notice().contains(QLatin1String("no backplot")));
}

void TestWorkbench::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing module")
        << QStringList{"--module", "/no/such/Kurvo.so"} << 2 << "cannot load the module";
    QTest::newRow("library without KDV_SIGNAL")
        << QStringList{"--module", NOT_A_MODULE_PATH} << 2 << "has no KDV_SIGNAL";
    QTest::newRow("unknown language")
        << QStringList{"--lang", "fr"} << 1 << "--lang takes zh or en";
    QTest::newRow("unreadable configuration") << QStringList{"--config", "/no/such/host.ini"} << 1
                                              << "cannot read the host configuration";
    QTest::newRow("help") << QStringList{"--help"} << 0 << "--screenshot";
}

void TestWorkbench::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);

    QProcess workbench;
    workbench.start(QStringLiteral(KURVO_WORKBENCH_PATH), arguments << "-platform"
                                                                    << "offscreen");
    QVERIFY(workbench.waitForFinished(30000));
    QCOMPARE(workbench.exitStatus(), QProcess::NormalExit);
    QCOMPARE(workbench.exitCode(), exitCode);
    const QString output
        = QString::fromUtf8(workbench.readAllStandardError() + workbench.readAllStandardOutput());
    QVERIFY2(output.contains(message), qPrintable(output));
}

// A copy of the workbench in a folder of its own, with the sample settings, opens its window
// without a box in the way and saves the picture.
void TestWorkbench::screenshotOffscreen()
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("kurvo-workbench"));
    QVERIFY(QFile::copy(QStringLiteral(KURVO_WORKBENCH_PATH), program));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("modules")));
    QVERIFY(QFile::copy(QStringLiteral(KURVO_SAMPLE_SETTINGS),
                        dir.filePath(QStringLiteral("modules/Crd.ini"))));
    const QString picture = dir.filePath(QStringLiteral("workbench.png"));
    QProcess workbench;
    workbench.start(program, {"--module", KURVO_MODULE_PATH, "--lang", "en", "--screenshot",
                              picture, "-platform", "offscreen"});
    QVERIFY(workbench.waitForFinished(30000));
    QCOMPARE(workbench.exitCode(), 0);
    const QImage image(picture);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(1280, 860));
}

QTEST_MAIN(TestWorkbench)
#include "tst_workbench.moc"
