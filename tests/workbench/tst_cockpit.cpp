#include "DryRun.h"
#include "DryRunProcess.h"
#include "PathPlot.h"
#include "RecentPrograms.h"
#include "RunProgress.h"
#include "SimulatorInterface.h"
#include "gcode/ProgramText.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

Q_DECLARE_METATYPE(PlotView)

namespace {

QString writeProgram(const QTemporaryDir& folder, const QByteArray& text)
{
    const QString path = folder.filePath(QStringLiteral("program.nc"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// A machine whose own limits never bind: the program's feeds and accelerations make the times.
DryRunMachine openMachine(double cornerJump)
{
    DryRunMachine machine;
    machine.feedMax = 1e4;
    machine.accelerationMax = 1e7;
    machine.axisFeedMax = 1e4;
    machine.axisAccelerationMax = 1e7;
    machine.cornerJump = cornerJump;
    return machine;
}

double trapezoidSeconds(double length, double feed, double acceleration)
{
    if (length >= feed * feed / acceleration)
        return length / feed + feed / acceleration;
    return 2 * std::sqrt(length / acceleration);
}

} // namespace

class TestCockpit : public QObject
{
    Q_OBJECT

private slots:
    void dryRunMatchesTheClosedForm_data();
    void dryRunMatchesTheClosedForm();
    void dryRunFromTheCommandLine_data();
    void dryRunFromTheCommandLine();
    void dryRunOutputIsReadPieceByPiece();

    void timeLeftFollowsThePlan_data();
    void timeLeftFollowsThePlan();
    void progressText_data();
    void progressText();

    void fitShowsTheWholePathAtOneScale();
    void zoomKeepsThePointUnderTheMouse();
    void panAndResizeKeepTheScale();
    void decimationKeepsOnePointAPixel_data();
    void decimationKeepsOnePointAPixel();

    void recentProgramsKeepTheLatestEight();
};

void TestCockpit::dryRunMatchesTheClosedForm_data()
{
    QTest::addColumn<QByteArray>("program");
    QTest::addColumn<double>("cornerJump");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<double>("length");

    QTest::newRow("one line: trapezoid")
        << QByteArray("G01 X100 F50 D500\n") << 5.0 << trapezoidSeconds(100, 50, 500) << 100.0;
    QTest::newRow("one short line: triangle")
        << QByteArray("G01 X10 F100 D100\n") << 5.0 << trapezoidSeconds(10, 100, 100) << 10.0;
    QTest::newRow("square with full stops")
        << QByteArray("G01 X50 F50 D500\nY50 D500\nX0 D500\nY0 D500\n") << 1e-9
        << 4 * trapezoidSeconds(50, 50, 500) << 200.0;
    QTest::newRow("half circle") << QByteArray("G03 X20 Y0 I10 J0 F50 D500\n") << 5.0
                                 << trapezoidSeconds(10 * M_PI, 50, 500) << 10 * M_PI;
    QTest::newRow("straight on through a line cut in two")
        << QByteArray("G01 X40 F50 D500\nX100 D500\n") << 5.0 << trapezoidSeconds(100, 50, 500)
        << 100.0;
    // A line's acceleration holds for that line alone: the next one brakes at 300 mm/s^2.
    QTest::newRow("acceleration not carried")
        << QByteArray("G01 X40 F50 D500\nX100\n") << 5.0
        << 100.0 / 50 + 50.0 / 2 / 500 + 50.0 / 2 / 300 << 100.0;
}

void TestCockpit::dryRunMatchesTheClosedForm()
{
    QFETCH(QByteArray, program);
    QFETCH(double, cornerJump);
    QFETCH(double, seconds);
    QFETCH(double, length);
    const SimulatorInterface* simulator = SimulatorInterface::Find();
    QVERIFY(simulator);

    DryRunReport report;
    QString error;
    QVERIFY2(DryRun(ProgramText(QString::fromLatin1(program)), openMachine(cornerJump), *simulator,
                    {}, report, error),
             qPrintable(error));
    QVERIFY2(std::abs(report.cycleMs / 1000 - seconds) <= 0.01 * seconds,
             qPrintable(QStringLiteral("%1 s, not %2 s").arg(report.cycleMs / 1000).arg(seconds)));
    QCOMPARE_LE(std::abs(report.pathLength - length), 1e-9 * length);
    QCOMPARE(report.plan.TotalMs(), report.cycleMs);
}

void TestCockpit::dryRunFromTheCommandLine_data()
{
    QTest::addColumn<QByteArray>("program");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("printed");

    QTest::newRow("figures") << QByteArray("G00 X10 EF200 ED2000\nG01 X0 F50 D500\nG01 X5\n") << 0
                             << QStringLiteral("cycle time: %1 s\npath length: 25.000 mm\n"
                                               "segments: 3\nlargest feed: 200 mm/s\n")
                                    .arg(trapezoidSeconds(10, 200, 2000)
                                             + trapezoidSeconds(10, 50, 500)
                                             + trapezoidSeconds(5, 50, 300),
                                         0, 'f', 3);
    QTest::newRow("unreadable") << QByteArray() << 1 << QString();
}

void TestCockpit::dryRunFromTheCommandLine()
{
    QFETCH(QByteArray, program);
    QFETCH(int, exitCode);
    QFETCH(QString, printed);
    QTemporaryDir folder;
    const QString path = exitCode == 0 ? writeProgram(folder, program)
                                       : folder.filePath(QStringLiteral("missing.nc"));
    QFile config(folder.filePath(QStringLiteral("host.ini")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("[dryRun]\nfeedMax=10000\naccelerationMax=1e7\naxisAccelerationMax=1e7\n"
                 "cornerJump=1e-9\n");
    config.close();

    QProcess workbench;
    workbench.start(
        QStringLiteral(KURVO_WORKBENCH_PATH),
        {QStringLiteral("--dry-run"), path, QStringLiteral("--config"), config.fileName()});
    QVERIFY(workbench.waitForFinished(60000));
    QCOMPARE(workbench.exitCode(), exitCode);
    if (exitCode == 0)
        QCOMPARE(QString::fromUtf8(workbench.readAllStandardOutput()), printed);
    else
        QVERIFY(workbench.readAllStandardError().contains("cannot read the program"));
}

void TestCockpit::dryRunOutputIsReadPieceByPiece()
{
    DryRunOutput output;
    output.Feed("progress 50 2");
    QCOMPARE(output.Percent(), 0);
    output.Feed("00\nplan 10 1000\nplan 20 1500\nplan 30 40");
    QCOMPARE(output.Percent(), 25);
    output.Feed("00\ncycle time: 4.000 s\nsegments: 30\n");
    QCOMPARE(output.ReportLines(),
             QStringList({QStringLiteral("cycle time: 4.000 s"), QStringLiteral("segments: 30")}));
    const PlannedRun plan = output.Plan();
    QCOMPARE(plan.Segments(), int64_t(30));
    QCOMPARE(plan.TotalMs(), 4000.0);
    QCOMPARE(plan.TimeAt(15), 1250.0);
}

void TestCockpit::timeLeftFollowsThePlan_data()
{
    QTest::addColumn<int>("executed");
    QTest::addColumn<double>("msLeft");

    // Ten segments of 100 ms, then one of 9 s.
    QTest::newRow("before the start") << 0 << 10000.0;
    QTest::newRow("on a point") << 10 << 9000.0;
    QTest::newRow("between points") << 5 << 9500.0;
    QTest::newRow("inside the long one") << 10 << 9000.0;
    QTest::newRow("at the end") << 11 << 0.0;
    QTest::newRow("beyond the end") << 12 << 0.0;
}

void TestCockpit::timeLeftFollowsThePlan()
{
    QFETCH(int, executed);
    QFETCH(double, msLeft);
    const PlannedRun plan({{10, 1000}}, 11, 10000);
    QCOMPARE(plan.TimeLeftMs(executed), msLeft);
}

void TestCockpit::progressText_data()
{
    QTest::addColumn<qint64>("executed");
    QTest::addColumn<qint64>("sent");
    QTest::addColumn<double>("runSeconds");
    QTest::addColumn<double>("planLeft"); // below 0: no timetable
    QTest::addColumn<QString>("text");

    QTest::newRow("planned") << qint64(1204) << qint64(5000) << 12.4 << 63.0
                             << QStringLiteral(
                                    "1,204 of 5,000 segments \u00b7 run 0:12 \u00b7 left 1:03");
    QTest::newRow("paced") << qint64(100) << qint64(400) << 10.0 << -1.0
                           << QStringLiteral(
                                  "100 of 400 segments \u00b7 run 0:10 \u00b7 left 0:30");
    QTest::newRow("nothing done yet") << qint64(0) << qint64(4096) << 0.2 << -1.0
                                      << QStringLiteral("0 of 4,096 segments \u00b7 run 0:00");
    QTest::newRow("hours")
        << qint64(1000000) << qint64(1000000) << 3723.0 << 0.0
        << QStringLiteral("1,000,000 of 1,000,000 segments \u00b7 run 1:02:03 \u00b7 left 0:00");
}

void TestCockpit::progressText()
{
    QFETCH(qint64, executed);
    QFETCH(qint64, sent);
    QFETCH(double, runSeconds);
    QFETCH(double, planLeft);
    QFETCH(QString, text);
    RunFigures figures{executed, sent, runSeconds, std::nullopt};
    figures.secondsLeft
        = planLeft >= 0 ? std::optional<double>(planLeft) : PacedSecondsLeft(figures);
    QCOMPARE(ProgressText(figures), text);
}

void TestCockpit::fitShowsTheWholePathAtOneScale()
{
    const QRectF bounds(QPointF(-10, 5), QPointF(30, 15));
    const PlotView view = FitView(bounds, QSize(400, 200));
    QVERIFY(view.world.contains(bounds));
    QCOMPARE(view.world.center(), bounds.center());
    QCOMPARE(view.world.width() / 400, view.world.height() / 200);
    // The highest point is drawn above the lowest.
    QCOMPARE_LT(view.ToPixel({0, 15}).y(), view.ToPixel({0, 5}).y());
    QVERIFY(QRect(QPoint(), view.pixels).contains(view.ToPixel(bounds.topLeft())));
    QVERIFY(QRect(QPoint(), view.pixels).contains(view.ToPixel(bounds.bottomRight())));
}

void TestCockpit::zoomKeepsThePointUnderTheMouse()
{
    const PlotView view = FitView(QRectF(0, 0, 100, 100), QSize(500, 500));
    const QPoint mouse(123, 321);
    const QPointF under = view.ToWorld(mouse);
    const PlotView zoomed = ZoomView(view, 4, mouse);
    QCOMPARE(zoomed.world.width(), view.world.width() / 4);
    QCOMPARE(zoomed.ToPixel(under), mouse);
}

void TestCockpit::panAndResizeKeepTheScale()
{
    const PlotView view = FitView(QRectF(0, 0, 100, 100), QSize(500, 500));
    const QPointF point(40, 60);
    const PlotView panned = PanView(view, QPoint(30, -20));
    QCOMPARE(panned.ToPixel(point), view.ToPixel(point) + QPoint(30, -20));
    const PlotView resized = ResizeView(view, QSize(800, 300));
    QCOMPARE(resized.ToPixel(point), view.ToPixel(point));
    QCOMPARE(resized.world.width() / 800, view.world.width() / 500);
}

void TestCockpit::decimationKeepsOnePointAPixel_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("stepMm");
    QTest::addColumn<int>("pixels");

    // A 100 mm view on 100 pixels: a pixel a millimetre.
    QTest::newRow("a million points along 10 mm") << 1000000 << 1e-5 << 11;
    QTest::newRow("points a pixel apart") << 50 << 1.0 << 50;
    QTest::newRow("one point") << 1 << 1.0 << 1;
}

void TestCockpit::decimationKeepsOnePointAPixel()
{
    QFETCH(int, points);
    QFETCH(double, stepMm);
    QFETCH(int, pixels);
    const PlotView view{QRectF(0, 0, 100, 100), QSize(100, 100)};
    PathPoints path;
    for (int i = 0; i < points; ++i)
        path.push_back({0.5 + i * stepMm, 50.5, 0});
    const std::vector<QPoint> line = DecimatedPolyline(path, 0, path.size(), PlotPlane::XY, view);
    QCOMPARE(int(line.size()), pixels);
    QCOMPARE(line.front(), view.ToPixel({0.5, 50.5}));
    QCOMPARE(line.back(), view.ToPixel(Project(path.back(), PlotPlane::XY)));

    // Continuing from the last pixel drawn adds only what is new.
    path.push_back({path.back()[0], 50.5, 7});
    QCOMPARE(DecimatedPolyline(path, path.size() - 1, path.size(), PlotPlane::XY, view, line.back())
                 .size(),
             std::size_t(1));
    QCOMPARE(DecimatedPolyline(path, path.size() - 1, path.size(), PlotPlane::XZ, view, line.back())
                 .size(),
             std::size_t(2));
}

void TestCockpit::recentProgramsKeepTheLatestEight()
{
    QTemporaryDir folder;
    QStringList recent;
    for (int i = 0; i < 10; ++i)
        recent = WithRecent(recent, folder.filePath(QStringLiteral("p%1.nc").arg(i)));
    recent = WithRecent(recent, folder.filePath(QStringLiteral("p5.nc")));
    QCOMPARE(recent.size(), 8);
    QCOMPARE(recent.first(), folder.filePath(QStringLiteral("p5.nc")));
    QCOMPARE(recent.count(folder.filePath(QStringLiteral("p5.nc"))), 1);
    QCOMPARE(recent.last(), folder.filePath(QStringLiteral("p2.nc")));
}

QTEST_MAIN(TestCockpit)
#include "tst_cockpit.moc"
