// The planner without a window: the dry run against closed forms and recorded paths, the window
// machine's encoding, the program check, run progress, the path geometry and Run from line.
#include "buffer/RowSending.h"
#include "gcode/ProgramCommands.h"
#include "gcode/ProgramRows.h"
#include "gcode/ProgramText.h"
#include "planner/CommonGCode.h"
#include "planner/DryRun.h"
#include "planner/FrameProgram.h"
#include "planner/JobHistory.h"
#include "planner/PathPlot.h"
#include "planner/ProgramCheck.h"
#include "planner/ProgramLineMap.h"
#include "planner/ProgramResume.h"
#include "planner/RunProgress.h"
#include "planner/SimulatorInterface.h"

#include "CommonReference.h"
#include "Journal.h"
#include "rvsim.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <functional>

namespace {

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

// Short segments, reversals, arcs in both senses, dwells and rapids, and feeds and
// accelerations that change from line to line: the corners and stops a planner must get right.
QByteArray generatedProgram(int lines)
{
    uint32_t state = 12345;
    const auto next = [&state](int below) {
        state = state * 1664525u + 1013904223u;
        return int((state >> 8) % uint32_t(below));
    };
    QByteArray program("G01 F200 D3000\n");
    int x = 0, y = 0; // micrometres
    for (int n = 0; n < lines; ++n) {
        const int kind = next(100);
        const int dx = next(1000) - 500, dy = next(1000) - 500;
        QByteArray line;
        if (kind < 70)
            line = "G01 X" + QByteArray::number((x += dx) / 1000.0) + " Y"
                   + QByteArray::number((y += dy) / 1000.0);
        else if (kind < 85)
            line = "G0" + QByteArray::number(2 + kind % 2) + " X"
                   + QByteArray::number((x += 2 * dx) / 1000.0) + " Y"
                   + QByteArray::number((y += 2 * dy) / 1000.0) + " I"
                   + QByteArray::number(dx / 1000.0) + " J" + QByteArray::number(dy / 1000.0);
        else if (kind < 90)
            line = "G01 X" + QByteArray::number((x -= 3 * dx) / 1000.0); // back over itself
        else if (kind < 93)
            line = "G00 X" + QByteArray::number((x += 20 * dx) / 1000.0) + " EF300 ED5000";
        else if (kind < 95)
            line = "DELAY" + QByteArray::number(next(50));
        else if (kind < 98)
            line = "G01 F" + QByteArray::number(20 + next(600));
        else
            line = "G01 D" + QByteArray::number(200 + next(9000));
        program += line + '\n';
    }
    return program;
}

// A line along X cut into pieces of 10 micrometres, its acceleration (`word` "D") or feed ("F")
// going through `values` every 97 pieces, then a dwell and the way back in one piece: more
// pieces than the planner looks ahead over before it has to brake.
QByteArray finelyCutLine(int pieces, const char* word, const QList<int>& values)
{
    QByteArray program("G01 F600\n");
    for (int piece = 1; piece <= pieces; ++piece) {
        program += "X" + QByteArray::number(piece / 100.0);
        if (piece % 97 == 1)
            program += ' ' + (word + QByteArray::number(values[piece / 97 % values.size()]));
        program += '\n';
    }
    return program + "DELAY10\nX0\n";
}

// A fast line's view ends far ahead, at a long last piece; the slower line after it sees far
// enough already a few pieces on, where the acceleration is high for a while, short of the
// corner that follows.
QByteArray riseAndFall()
{
    QByteArray program("G01 F600 X10 D10000\nF100 X13 D3000\n");
    double x = 13;
    for (int piece = 3; piece <= 100; ++piece) {
        x += piece <= 14 ? 0.05 : piece < 60 ? 0.01 : piece < 100 ? -0.01 : -20;
        const bool high = (piece >= 11 && piece <= 14) || piece == 100;
        program += "X" + QByteArray::number(x) + (high ? " D10000\n" : " D300\n");
    }
    return program + "DELAY10\n";
}

double trapezoidSeconds(double length, double feed, double acceleration)
{
    if (length >= feed * feed / acceleration)
        return length / feed + feed / acceleration;
    return 2 * std::sqrt(length / acceleration);
}

enum class Journalled { No, Yes };

// The dry run's report of `program`; with the journal on from the virtual controller's reset,
// when asked, so that it holds the run's calls alone.
DryRunReport dryRunOf(const ProgramText& program, const DryRunMachine& machine,
                      PathWanted path = PathWanted::No, Journalled journalled = Journalled::No)
{
    SimulatorInterface simulator = *SimulatorInterface::Find();
    // The controller's own record of the path stays on, preview or not, for the checks that
    // read it.
    simulator.enablePath = [](int) {
        rvsim_path_enable(1);
    };
    if (journalled == Journalled::Yes)
        simulator.reset = [] {
            rvsim_reset();
            rvsim_journal_enable(1);
        };
    DryRunReport report;
    QString error;
    if (!DryRun(program, machine, simulator, {}, report, error, path))
        qFatal("%s", qPrintable(error));
    return report;
}

// A number of any magnitude the dialect reads, written in its plain decimals: from tiny to huge,
// signed, a negative zero, now and then one that overflows to infinity.
QByteArray anyNumber(const std::function<int(int)>& next)
{
    QByteArray digits = QByteArray::number(1 + next(999999));
    const int kind = next(10);
    QByteArray text;
    if (kind == 0)
        text = "0." + QByteArray(next(320), '0') + digits; // down to the denormals
    else if (kind == 1)
        text = digits + QByteArray(next(310), '0');
    else if (kind == 2)
        text = "1" + QByteArray(400, '0');
    else if (kind == 3)
        text = "-0";
    else
        text = QByteArray::number(next(2000) - 1000) + "." + QByteArray::number(next(100000));
    return next(4) == 0 && text[0] != '-' ? "-" + text : text;
}

// A program of common lines and odd ones: motion modes, planes, no mode at first, laser words
// of every value, feeds cut to 0, accelerations, line numbers, arcs, dwells, comments.
QByteArray resumableProgram(uint32_t seed)
{
    uint32_t state = seed;
    const std::function<int(int)> next = [&state](int below) {
        state = state * 1664525u + 1013904223u;
        return int((state >> 8) % uint32_t(below));
    };
    QByteArray program;
    const int lines = 1 + next(20);
    for (int n = 0; n < lines; ++n) {
        QByteArrayList words;
        const auto sometimes = [&next](int percent) {
            return next(100) < percent;
        };
        if (sometimes(8))
            words << QByteArray("G1") + QByteArray::number(7 + next(3)); // G17 to G19
        if (sometimes(35))
            words << "G0" + QByteArray::number(next(4));
        for (const char* axis : {"X", "Y", "Z", "A"})
            if (sometimes(40))
                words << axis + anyNumber(next);
        if (sometimes(15))
            words << "I" + anyNumber(next) << "J" + anyNumber(next);
        if (sometimes(10))
            words << "R" + anyNumber(next);
        if (sometimes(15))
            words << "F" + (sometimes(30) ? QByteArray("0.5") : anyNumber(next));
        if (sometimes(10))
            words << "D" + anyNumber(next);
        if (sometimes(8))
            words << "EF" + anyNumber(next);
        if (sometimes(8))
            words << "ED" + anyNumber(next);
        if (sometimes(15))
            words << "H" + QByteArray::number(next(4) - 1); // -1, 0, 1, 2
        if (sometimes(8))
            words << "N" + QByteArray::number(next(100000));
        if (sometimes(5))
            words << "DELAY" + QByteArray::number(next(500));
        if (sometimes(5))
            words << "(note)";
        if (sometimes(4))
            words = {QByteArray("g1 x") + QByteArray::number(next(9))};
        program += words.join(' ') + '\n';
    }
    return program;
}

// What the stream sends for a command: its kind and every value the call takes, in full.
QString streamedCommand(ProgramCommand command, const GCodeInterpreter& line)
{
    using G = GCodeInterpreter;
    const auto n = [](double value) {
        return QString::number(value, 'g', 17) + ' ';
    };
    const QString end = n(line.position[G::X]) + n(line.position[G::Y]);
    const QString speeds = n(line.Velocity()) + n(line.Acceleration());
    const QString turn = n(line.ArcDirection()), number = QString::number(line.lineNumber);
    switch (command) {
    case ProgramCommand::LaserOn:
        return QStringLiteral("laser on");
    case ProgramCommand::LaserOff:
        return QStringLiteral("laser off");
    case ProgramCommand::Dwell:
        return QStringLiteral("dwell ") + n(line.delayTime);
    case ProgramCommand::RapidLine:
    case ProgramCommand::FeedLine:
        return (command == ProgramCommand::RapidLine ? "rapid " : "feed ") + end
               + n(line.position[G::Z]) + speeds + number;
    case ProgramCommand::CentreArc:
        return "centre arc " + end + n(line.arcCentre[0]) + n(line.arcCentre[1]) + turn + speeds
               + number;
    case ProgramCommand::RadiusArc:
        return "radius arc " + end + n(line.arcRadius) + turn + speeds;
    }
    return QString();
}

// The commands the stream sends for each line of the program.
std::vector<QStringList> streamedCommands(const ProgramText& program)
{
    std::vector<QStringList> perLine;
    GCodeInterpreter line;
    QString widened;
    for (qsizetype index = 0; index < program.LineCount(); ++index) {
        line.InterpretLine(program.Line(index, widened));
        QStringList sent;
        ForEachCommand(line,
                       [&](ProgramCommand command) { sent << streamedCommand(command, line); });
        line.FinishLine(false);
        perLine.push_back(sent);
    }
    return perLine;
}

// The table rows of the program's lines from `first` (from 0) on, as the window loads them: the
// type and the texts its cells start with.
QStringList tableRowsFrom(const ProgramText& program, qsizetype first)
{
    const auto rowsOf = [](const ProgramText& text) {
        QStringList rows;
        for (const ProgramRow& row : ProgramAsRows(text, true)) {
            QStringList cells{row.type};
            for (const RowCell& cell : InitialRowTexts(*FindCommandType(row.type), row.values))
                cells << cell.text;
            rows << cells.join(' ');
        }
        return rows;
    };
    // A row a command, but for dwells, which the table has none for.
    qsizetype before = 0;
    const std::vector<QStringList> commands = streamedCommands(program);
    for (auto line = commands.begin(); line != commands.begin() + first; ++line)
        before += line->size() - line->filter(QRegularExpression("^dwell ")).size();
    return rowsOf(program).mid(before);
}

// How far `point` lies from the segment from `a` to `b`, worked out here apart from the planner's.
double DistanceToSegment(const Point3& point, const Point3& a, const Point3& b)
{
    const double length = std::hypot(b[0] - a[0], b[1] - a[1], b[2] - a[2]);
    const double share
        = length > 0
              ? std::clamp(((point[0] - a[0]) * (b[0] - a[0]) + (point[1] - a[1]) * (b[1] - a[1])
                            + (point[2] - a[2]) * (b[2] - a[2]))
                               / (length * length),
                           0.0, 1.0)
              : 0;
    return std::hypot(point[0] - a[0] - share * (b[0] - a[0]),
                      point[1] - a[1] - share * (b[1] - a[1]),
                      point[2] - a[2] - share * (b[2] - a[2]));
}

// The distance from `point` to the nearest line of `path`.
double DistanceToPath(const Point3& point, const std::vector<Point3>& path)
{
    double nearest = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i + 1 < path.size(); ++i)
        nearest = std::min(nearest, DistanceToSegment(point, path[i], path[i + 1]));
    return nearest;
}

// The point of `points` farthest from `path`, and how far.
std::pair<Point3, double> FarthestFrom(const std::vector<Point3>& points,
                                       const std::vector<Point3>& path)
{
    std::pair<Point3, double> farthest{{}, 0};
    for (const Point3& point : points) {
        const double off = DistanceToPath(point, path);
        if (off > farthest.second)
            farthest = {point, off};
    }
    return farthest;
}

} // namespace

Q_DECLARE_METATYPE(std::vector<ReferenceCurve>)

class TestPlanner : public QObject
{
    Q_OBJECT

private slots:
    void init() { rvsim_reset(); }

    // The controller refuses a move without a feed, and the machine stays where it stood: the
    // figures leave the move out, and the next move starts where the machine stands. The box
    // holds where the first move starts, the machine's own place.
    void refusedMoveMovesNothing()
    {
        const DryRunReport report
            = dryRunOf(ProgramText(QStringLiteral("G1 X10 F100\nX20 F0.5\nX10 Y5 F100")),
                       openMachine(5), PathWanted::Yes);
        QCOMPARE(report.segments, 2);
        QCOMPARE(report.pathLength, 15.0);
        QVERIFY(report.extent.Lowest());
        QCOMPARE((*report.extent.Lowest())[0], 0.0);
        QCOMPARE(report.extent.Highest()[0], 10.0);
        QCOMPARE(report.extent.Highest()[1], 5.0);
        QCOMPARE(report.plan.Segments(), 2);
        for (const PreviewPoint& point : report.path)
            QCOMPARE_LE(point.x, 10.0f);
    }

    // A dry run ends within seconds whatever the program: past the longest cycle it plans it
    // stops and says so, and it names the commands the controller refused.
    void dryRunEndsAndSaysWhatItLeftOut()
    {
        const QString huge = QStringLiteral("1") + QString(42, QLatin1Char('0'));
        const DryRunReport refused = dryRunOf(
            ProgramText(QStringLiteral("G1 X10 F100\nX%1\nX10 Y5").arg(huge)), openMachine(5));
        QCOMPARE(refused.refused.size(), 1u);
        QCOMPARE(refused.refused[0].line, 2);
        QCOMPARE(refused.extent.Highest()[0], 10.0);
        QVERIFY2(DryRunReportText(refused).contains(
                     "\nrefused by the controller, not made: 1 command, line 2 (code 7)"),
                 qPrintable(DryRunReportText(refused)));

        const DryRunReport endless
            = dryRunOf(ProgramText(QStringLiteral("G1 F1 X1000000000\nX0\nX1")), openMachine(5));
        QVERIFY(endless.cycleBeyond);
        QCOMPARE(endless.cycleMs, longestPlannedCycleMs);
        QVERIFY2(DryRunReportText(endless).startsWith(
                     "cycle time: more than 1000:00:00, 3600000.000 s: the dry run stops there"),
                 qPrintable(DryRunReportText(endless)));
        // The stream stops where it waits for room: a full FIFO and look-ahead behind line 1.
        QString behind = QStringLiteral("G1 F1 X1000000000\n");
        for (int line = 0; line < 5000; ++line)
            behind += line % 2 ? QStringLiteral("X1\n") : QStringLiteral("X2\n");
        QVERIFY(DryRunReportText(dryRunOf(ProgramText(behind), openMachine(5)))
                    .contains(", at line 4,298 of 5,002, and the figures are of the lines before"));
    }

    void windowMachineReadsBackByName_data()
    {
        QTest::addColumn<QString>("field"); // "object.field" to change, or "" for the text
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QString>("error");

        const auto row
            = [](const char* name, const char* field, const QJsonValue& value, const char* error) {
                  QTest::newRow(name) << QString(field) << value << QString(error);
              };
        row("as written", "", QJsonValue(), "");
        row("another version", "version", QJsonValue(2),
            "the window machine is not of format kurvo-window-machine, version 1");
        row("a field missing", "core", QJsonValue(QJsonValue::Undefined), "core is missing");
        row("beyond a short", "core", QJsonValue(40000),
            "core is no whole number from -32768 to 32767");
        row("a fraction", "crdPrm.dimension", QJsonValue(2.5),
            "crdPrm.dimension is no whole number from -32768 to 32767");
        row("a byte for a flag", "lookAhead", QJsonValue(2), "lookAhead is neither true nor false");
        row("a list too short", "crdPrm.profile", QJsonValue(QJsonArray{1, 2, 3}),
            "crdPrm.profile is no list of 8 numbers");
        row("text for a number", "lookAheadPrm.T", QJsonValue("1"),
            "lookAheadPrm.T is no finite number");
        row("a field of no name", "padding", QJsonValue(0), "padding is no field of this format");
    }

    // The window's machine goes to a dry run as named fields, each checked: what was written
    // reads back the same, and anything else is refused with the field named.
    void windowMachineReadsBackByName()
    {
        QFETCH(QString, field);
        QFETCH(QJsonValue, value);
        QFETCH(QString, error);
        WindowMachine machine;
        machine.core = 2;
        machine.record.dimension = 3;
        machine.record.profile[2] = 3;
        machine.record.synVelMax = 12.5;
        machine.record.originPos[7] = -2000000000;
        machine.mapBase = 5;
        machine.lookAhead = true;
        machine.lookAheadRecord.N = 200;
        machine.lookAheadRecord.Scale[4] = 1e-12;
        machine.lookAheadRecord.axisMap[1] = 2;
        machine.jerk = 0.25;
        machine.tableLookAheadOpen = true;

        QJsonObject json = QJsonDocument::fromJson(machine.Encoded()).object();
        if (!field.isEmpty()) {
            const QString outer = field.section('.', 0, 0), inner = field.section('.', 1);
            if (inner.isEmpty()) {
                json[outer] = value;
            } else {
                QJsonObject object = json[outer].toObject();
                object[inner] = value;
                json[outer] = object;
            }
        }
        QString problem;
        const std::optional<WindowMachine> read
            = WindowMachine::Decoded(QJsonDocument(json).toJson(), problem);
        QCOMPARE(problem, error);
        QCOMPARE(read.has_value(), error.isEmpty());
        if (read)
            QCOMPARE(read->Encoded(), machine.Encoded());
        QVERIFY(!WindowMachine::Decoded("\x01\x02 not json", problem));
        QVERIFY2(problem.startsWith("the window machine is no JSON object"), qPrintable(problem));
    }

    void dryRunMatchesTheClosedForm_data()
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

    void dryRunMatchesTheClosedForm()
    {
        QFETCH(QByteArray, program);
        QFETCH(double, cornerJump);
        QFETCH(double, seconds);
        QFETCH(double, length);
        const DryRunReport report
            = dryRunOf(ProgramText(QString::fromLatin1(program)), openMachine(cornerJump));
        QVERIFY2(
            std::abs(report.cycleMs / 1000 - seconds) <= 0.01 * seconds,
            qPrintable(QStringLiteral("%1 s, not %2 s").arg(report.cycleMs / 1000).arg(seconds)));
        QCOMPARE_LE(std::abs(report.pathLength - length), 1e-9 * length);
        QCOMPARE(report.plan.TotalMs(), report.cycleMs);
    }

    // Figures of the executed path as the planner first made it: the number of points, the last
    // time, and sums over the points of the times from the first and of the X and Y positions.
    void plannedPathStaysAsRecorded_data()
    {
        QTest::addColumn<QByteArray>("program");
        QTest::addColumn<QList<double>>("figures");

        const auto example = [](const char* name) {
            QFile file(QStringLiteral(KURVO_EXAMPLES_DIR "/") + QLatin1String(name));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QTest::newRow("square") << example("square.nc")
                                << QList<double>{50, 1694.9851973846253, 46390.39064065658,
                                                 474999.99999999994, 480000};
        QTest::newRow("contour") << example("contour.nc")
                                 << QList<double>{9912, 51341.631468946638, 254620262.07792494,
                                                  307169.30000000144, 74339.999999328997};
        QTest::newRow("generated") << generatedProgram(6000)
                                   << QList<double>{28125, 308048.12202695588, 4351491021.3994808,
                                                    -71213275.374786332, 504169671.55431342};
        QTest::newRow("a finely cut line")
            << finelyCutLine(20000, "D", {300})
            << QList<double>{40008, 2853.2145327084713, 31174707.187217541, 4000600000, 0};
        QTest::newRow("a finely cut line, accelerations changing")
            << finelyCutLine(20000, "D", {300, 8000, 1000, 20000})
            << QList<double>{40008, 2726.4815711108208, 28889228.374378491, 4000600000, 0};
        QTest::newRow("a finely cut line, feeds changing")
            << finelyCutLine(20000, "F", {600, 3, 300, 5})
            << QList<double>{40008, 37709.869013262949, 719984593.1178962, 4000600000, 0};
        QTest::newRow("accelerations that rise and fall under a slower feed")
            << riseAndFall()
            << QList<double>{204, 317.66862295593398, 20429.004211195341, 2686350, 0};
    }

    void plannedPathStaysAsRecorded()
    {
        QFETCH(QByteArray, program);
        QFETCH(QList<double>, figures);
        dryRunOf(ProgramText(QString::fromLatin1(program)), DryRunMachine());
        const std::vector<RecordedPoint> path = RecordedPath();
        QList<double> ran{double(path.size()), path.back().ms - path.front().ms, 0, 0, 0};
        for (const RecordedPoint& point : path) {
            ran[2] += point.ms - path.front().ms;
            ran[3] += point.positions[0];
            ran[4] += point.positions[1];
        }
        for (int i = 0; i < figures.size(); ++i)
            QVERIFY2(std::abs(ran[i] - figures[i]) <= 1e-9 * std::abs(figures[i]),
                     qPrintable(QStringLiteral("figure %1: %2, recorded %3")
                                    .arg(i)
                                    .arg(ran[i], 0, 'g', 17)
                                    .arg(figures[i], 0, 'g', 17)));
    }

    // A rapid, a line and a half circle over the top: the lengths apart, the bulge in the box.
    void dryRunFiguresForScripts()
    {
        const DryRunReport report = dryRunOf(
            ProgramText(QStringLiteral("G0 X10 EF100 ED1000\nG1 X20 F50 D500\nG3 X0 Y0 I-10 J0")),
            openMachine(5));
        const QJsonObject json = DryRunReportJson(report);
        QCOMPARE(json["lines"].toInt(), 3);
        QCOMPARE(json["segments"].toInt(), 3);
        QCOMPARE(json["pathLength"]["rapid"].toDouble(), 10.0);
        // Millimetres to a thousandth, seconds to a hundredth.
        QCOMPARE(json["pathLength"]["feed"].toDouble(), std::round((10 + 10 * M_PI) * 1000) / 1000);
        QCOMPARE(json["extents"]["x"].toArray(), (QJsonArray{0.0, 20.0}));
        QCOMPARE(json["extents"]["y"].toArray(), (QJsonArray{0.0, 10.0}));
        QCOMPARE(json["extents"]["width"].toDouble(), 20.0);
        QCOMPARE(json["cycleSeconds"].toDouble(), std::round(report.cycleMs / 10) / 100);
        QCOMPARE(json["cycleTime"].toString(),
                 QStringLiteral("0:00:0%1").arg(std::lround(report.cycleMs / 1000)));
    }

    // However long after power-on a run starts, the same program plans to the same times.
    void dryRunRepeatsItself()
    {
        QString slowLines = QStringLiteral("G1 F3 D7\n");
        for (int line = 1; line <= 50; ++line)
            slowLines += QStringLiteral("X%1 Y%2\n").arg(line * 97.3).arg(line % 7 * 11.1);
        const ProgramText program(slowLines);
        const auto timesOf = [&program] {
            const DryRunReport report = dryRunOf(program, openMachine(5));
            QList<double> times;
            for (const PlannedRun::Point& point : report.plan.Points())
                times << point.ms;
            return times;
        };
        QCOMPARE(timesOf(), timesOf());
    }

    void programCheck_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("findings"); // "line kind: what"

        QTest::newRow("what common G-code reads alike")
            << "(only a comment)\nG90 G17 G40 G49\nG0 X1 Y2 EF200 ED2000\n"
               "G1 X3 F100 D500 N7 H1\nG2 X5 Y2 I1 J0\nG03 X3 Y2 R1\nG1 X4 Y5 DELAY5"
            << QStringList();
        QTest::newRow("skipped words")
            << "G91 G20\nM3 S1000\ng1 X1 f5 T1 n2\nG4 X2.5"
            << QStringList{"1 skipped: G91",   "1 skipped: G20", "2 skipped: M3",
                           "2 dialect: S1000", "3 skipped: g1",  "3 skipped: f5",
                           "3 skipped: T1",    "3 skipped: n2",  "3 no motion: before any G0 to G3",
                           "4 skipped: G4"};
        QTest::newRow("text after a comment")
            << "G1 X1 (cut) Y2\n/G1 X5\n% start"
            << QStringList{"1 dropped: Y2", "2 dropped: G1 X5", "2 zero: /G1 X5",
                           "3 dropped: start", "3 zero: % start"};
        QTest::newRow("feeds") << "G1 X1 F1.5\nX2 F600\nX3 F12.7"
                               << QStringList{"1 truncated: F1.5 read as F1",
                                              "2 beyond: F600 > 500 mm/s",
                                              "3 truncated: F12.7 read as F12"};
        QTest::newRow("moves without a speed are refused")
            << "G1 X1 F10\nX2 F0.5\nY3\nF0\nX5 F20\nG0 X6 EF0\nG1 X7 D0\nX8"
            << QStringList{"2 refused: F0.5 is read as F0",
                           "3 refused: the feed is 0 (F0.5 on line 2)",
                           "4 refused: F0",
                           "4 zero: F0",
                           "6 refused: the rapid feed is 0",
                           "7 refused: the acceleration is 0"};
        QTest::newRow("arcs")
            << "G1 X0 Y0\nG2 X10 Y0 R4\nG3 X0 Y1 I-5 J0\nG18 G2 X0 Y0 I5\nG17 G2 X1 Z1 I1\n"
               "G3 X2 Y2"
            << QStringList{"2 no arc: R4 shorter than half the chord",
                           "3 no arc: end 0.099 mm off the circle",
                           "4 skipped: G18",
                           "4 no arc: arc in plane G18",
                           "5 no arc: centre arc with Z moving",
                           "6 no arc: arc without I, J or R"};
        QTest::newRow("G numbers beyond any integer, or below 0")
            << "G1 X1\nG99999999999 X2\nG-1 X3\nG4294967297"
            << QStringList{"2 skipped: G99999999999", "3 skipped: G-1", "4 skipped: G4294967297",
                           "4 zero: G4294967297"};
        QTest::newRow("other dialects")
            << "G1 X1\nG5.2 P3 L2 X4 Q1\nG64 X2"
            << QStringList{"2 dialect: G5.2", "2 dialect: P3", "2 dialect: L2", "2 dialect: Q1",
                           "3 skipped: G64"};
        QTest::newRow("lines without coordinates move by zero")
            << "G1 X1\n\n(profile 2)\nF200\nM5\nX2"
            << QStringList{"2 zero: blank", "3 zero: (profile 2)", "4 zero: F200", "5 skipped: M5",
                           "5 zero: M5"};
    }

    // Each place where the dialect reads a line otherwise than common G-code, and nothing else.
    void programCheck()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, findings);
        static constexpr const char* kinds[]
            = {"skipped",   "dropped", "truncated", "beyond",     "no arc", "dialect",
               "no motion", "zero",    "refused",   "per minute", "travel"};
        static_assert(std::size(kinds) == std::size_t(FindingKind::LeavesTravel) + 1);
        for (const ProgramText& text : bothWidths(program)) {
            QStringList found;
            for (const ProgramFinding& finding : CheckProgram(text, 500).findings)
                found << QStringLiteral("%1 %2: %3")
                             .arg(finding.line)
                             .arg(QLatin1String(kinds[int(finding.kind)]), finding.what);
            QCOMPARE(found, findings);
        }
    }

    void checkSaysWhatFollows_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("text");
        QTest::addColumn<QString>("status");

        QTest::newRow("written for common G-code")
            << "(Generated by FlatCAM)\nG21\nM3 S10000\nG1 X1 F600\nG5.2 X2 Y1 P2 L3\nX3 Y0\n"
               "G5.3\nG91\nM8\n\nX4"
            << QStringList{"  Written for common G-code: there F is mm/min, here mm/s \u2014 F600 "
                           "would run at 600 mm/s (36,000 mm/min).",
                           "  danger: 4 lines (the path or the speed differs from what the program "
                           "means)",
                           "    line 4: F600 \u2014 mm/min there, mm/s here: 60 times as fast",
                           "    line 5: G5.2 P2 L3 \u2014 a NURBS curve, cut as straight lines "
                           "between its control points",
                           "    \u2026 and 2 more",
                           "  warning: 2 lines (the machine will not do it)",
                           "    line 3: M3 S10000 \u2014 the spindle or laser is not switched (H1 "
                           "and H0 switch it); spindle speed or laser power: not set here",
                           "    line 9: M8 \u2014 the machine will not do this",
                           "  info: 1 line (harmless: moves of length 0, comments)"}
            << "Program check: 4 danger, 2 warning \u2014 see Output";
        QTest::newRow("a feed beyond the machine's")
            << "G1 X1 F600"
            << QStringList{"  danger: 1 line (the path or the speed differs from what the program "
                           "means)",
                           "    line 1: F600 > 500 mm/s \u2014 mm/min read as mm/s, beyond the "
                           "machine's feed"}
            << "Program check: 1 danger, 0 warning \u2014 see Output";
        QTest::newRow("a spindle switched on at a speed")
            << "M3 S1000\nG1 X1 F10"
            << QStringList{"  Written for common G-code: there F is mm/min, here mm/s \u2014 F10 "
                           "would run at 10 mm/s (600 mm/min).",
                           "  danger: 1 line (the path or the speed differs from what the program "
                           "means)",
                           "    line 2: F10 \u2014 mm/min there, mm/s here: 60 times as fast",
                           "  warning: 1 line (the machine will not do it)",
                           "    line 1: M3 S1000 \u2014 the spindle or laser is not switched (H1 "
                           "and H0 switch it); spindle speed or laser power: not set here"}
            << "Program check: 1 danger, 1 warning \u2014 see Output";
        QTest::newRow("the dialect's own, harmless lines alone")
            << "G1 X1 F10\n\n(profile)\nX2"
            << QStringList{"  info: 2 lines (harmless: moves of length 0, comments)"} << "";
    }

    // The verdict first, then each line's words together with what follows from them, the
    // harmless ones only counted; the status bar counts danger and warning.
    void checkSaysWhatFollows()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, text);
        QFETCH(QString, status);
        for (const ProgramText& held : bothWidths(program)) {
            const ProgramCheck check = CheckProgram(held, 500);
            QCOMPARE(ProgramCheckText(check, 2), text);
            QCOMPARE(ProgramCheckStatus(CountLines(CheckedLines(check.findings))), status);
        }
    }

    void progressText_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<qint64>("executed");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<double>("planLeft"); // below 0: none (paced, when running)
        QTest::addColumn<qint64>("line");     // 0: not known
        QTest::addColumn<QString>("text");

        const auto row = [](const char* name, RunJob::State state, qint64 executed, qint64 total,
                            double planLeft, qint64 line, const char* text) {
            QTest::newRow(name) << int(state) << executed << total << planLeft << line
                                << QString::fromUtf8(text);
        };
        using S = RunJob::State;
        row("running on a timetable", S::Running, 1204, 5000, 63, 310,
            "Running · 1,204 of 5,000 segments (24%) · line 310 of 1,200 · run 0:12 · left 1:03");
        row("running at the pace kept", S::Running, 100, 400, -1, 0,
            "Running · 100 of 400 segments (25%) · run 0:12 · left 0:37");
        row("paused", S::Paused, 1204, 5000, 63, 310,
            "Paused · 1,204 of 5,000 segments (24%) · line 310 of 1,200 · run 0:12 · left 1:03");
        row("stopped", S::Stopped, 1204, 5000, -1, 310,
            "Stopped at segment 1,204, line 310 · run 0:12");
        row("finished", S::Finished, 5000, 5000, -1, 1200, "Finished in 0:12 · 5,000 segments");
    }

    void progressText()
    {
        QFETCH(int, state);
        QFETCH(qint64, executed);
        QFETCH(qint64, total);
        QFETCH(double, planLeft);
        QFETCH(qint64, line);
        QFETCH(QString, text);
        RunFigures figures;
        figures.state = RunJob::State(state);
        figures.executed = executed;
        figures.total = total;
        figures.runSeconds = 12.4;
        figures.line = line;
        figures.lineCount = 1200;
        figures.secondsLeft
            = planLeft >= 0 ? std::optional<double>(planLeft) : PacedSecondsLeft(figures);
        QCOMPARE(ProgressText(figures), text);
    }

    // A job's count and running time carry on through Pause and resume, whether the controller
    // restarts its counter at the resume or not; a Stop ends it, a new start begins another.
    void jobFollowsPauseResumeAndStop()
    {
        using S = RunJob::State;
        RunJob job;
        job.Observe(false, 0, 0, 0);
        QCOMPARE(job.CurrentState(), S::Idle);
        job.Observe(true, 0, 500, 1000);
        QVERIFY(job.Began());
        job.Observe(true, 120, 380, 3000);
        QCOMPARE(job.CurrentState(), S::Running);
        job.Observe(false, 150, 350, 3500); // Pause: the buffer still holds the rest
        QCOMPARE(job.CurrentState(), S::Paused);
        QCOMPARE(job.Executed(), 150);
        job.Observe(false, 150, 350, 9000);
        QCOMPARE(job.RunSeconds(), 2.5);  // the pause does not count
        job.Observe(true, 0, 350, 10000); // resumed at a command's boundary: the counter restarts
        QVERIFY(!job.Began());
        job.Observe(true, 50, 300, 11000);
        QCOMPARE(job.Executed(), 200);
        QCOMPARE(job.Known(), 500);
        QCOMPARE(job.RunSeconds(), 3.5);
        job.Observe(false, 60, 290, 11500);
        job.Observe(true, 61, 289, 12000); // resumed mid-command: the counter goes on
        QCOMPARE(job.Executed(), 211);
        job.Stop();
        QCOMPARE(job.CurrentState(), S::Running); // until the controller stands
        job.Observe(false, 70, 280, 12500);
        QCOMPARE(job.CurrentState(), S::Stopped);
        QCOMPARE(job.Executed(), 220);
        job.Observe(true, 0, 500, 13000);
        QVERIFY(job.Began());
        QCOMPARE(job.Executed(), 0);
        job.Observe(false, 500, 0, 14000);
        QCOMPARE(job.CurrentState(), S::Finished);
        QCOMPARE(job.RunSeconds(), 1.0);
    }

    void lineOfTheCommandRunning_data()
    {
        QTest::addColumn<qint64>("executed");
        QTest::addColumn<qint64>("line");

        // Lines 1 to 5 send 0, 2, 1, 1 and 3 commands: nothing moves before a motion mode, a
        // line without a move repeats the last one.
        QTest::newRow("none done: the first line that sends") << qint64(0) << qint64(2);
        QTest::newRow("its second command") << qint64(1) << qint64(2);
        QTest::newRow("a line that repeats the move") << qint64(2) << qint64(3);
        QTest::newRow("the last line's first command") << qint64(4) << qint64(5);
        QTest::newRow("all done: the last line") << qint64(7) << qint64(5);
    }

    void lineOfTheCommandRunning()
    {
        QFETCH(qint64, executed);
        QFETCH(qint64, line);
        const ProgramLineMap map = MapProgramLines(
            ProgramText(QStringLiteral("(start)\nG1 X1 H1\nF100\nX2\nH0 X3 DELAY5")));
        QCOMPARE(map.Commands(), 7);
        QCOMPARE(map.LineAt(executed), line);
    }

    // Fitting shows the whole path at one scale, the highest point on top; zooming keeps the point
    // under the mouse; panning moves by the pixels dragged; resizing keeps the scale; the grid's
    // step is round.
    void viewsKeepTheirScaleAndAnchor()
    {
        const QRectF bounds(QPointF(-10, 5), QPointF(30, 15));
        const PlotView fitted = FitView(bounds, QSize(400, 200));
        QVERIFY(fitted.world.contains(bounds));
        QCOMPARE(fitted.world.center(), bounds.center());
        QCOMPARE(fitted.world.width() / 400, fitted.world.height() / 200);
        QCOMPARE_LT(fitted.ToPixel({0, 15}).y(), fitted.ToPixel({0, 5}).y());

        const PlotView view = FitView(QRectF(0, 0, 100, 100), QSize(500, 500));
        const QPoint mouse(123, 321);
        const PlotView zoomed = ZoomView(view, 4, mouse);
        QCOMPARE(zoomed.world.width(), view.world.width() / 4);
        QCOMPARE(zoomed.ToPixel(view.ToWorld(mouse)), mouse);
        const QPointF point(40, 60);
        QCOMPARE(PanView(view, QPoint(30, -20)).ToPixel(point),
                 view.ToPixel(point) + QPoint(30, -20));
        const PlotView resized = ResizeView(view, QSize(800, 300));
        QCOMPARE(resized.ToPixel(point), view.ToPixel(point));
        QCOMPARE(resized.world.width() / 800, view.world.width() / 500);

        // The grid's lines at least 40 pixels apart, a round number of millimetres.
        const auto gridStep = [](double worldWidth) {
            return GridStep(PlotView{QRectF(0, 0, worldWidth, 1), QSize(400, 300)}, 40);
        };
        QCOMPARE((QList<double>{gridStep(100), gridStep(101), gridStep(480), gridStep(1.5)}),
                 (QList<double>{10, 20, 50, 0.2}));
    }

    // The planned path as the dry run hands it over: rapid points apart, the speeds the feeds
    // allow, in millimetres, and through its file unchanged.
    void dryRunHandsOverThePlannedPath()
    {
        const std::vector<PreviewPoint> path
            = dryRunOf(ProgramText(QStringLiteral("G0 X10 EF100 ED1000\nG1 X20 F50 D500")),
                       openMachine(5), PathWanted::Yes)
                  .path;
        QCOMPARE(path.size(), 3u); // where each motion starts and ends, once
        QCOMPARE((QList<float>{path[0].x, path[1].x, path[2].x}), (QList<float>{0, 10, 20}));
        QCOMPARE((QList<bool>{path[1].rapid, path[2].rapid}), (QList<bool>{true, false}));
        // Each the mean over its motion: the rapid brakes to the feed's 50 mm/s, which brakes to a
        // stop over 2.5 mm: 10 mm in 0.25 s.
        QVERIFY(path[1].speed > 50 && path[1].speed < 100);
        QCOMPARE_LT(std::abs(path[2].speed - 40), 0.01);

        const QString file = files.filePath(QStringLiteral("path"));
        QVERIFY(WritePreviewPath(file, path));
        const std::optional<PreviewFile> read = ReadPreviewPath(file);
        QVERIFY(read && read->points.size() == path.size());
        for (std::size_t i = 0; i < path.size(); ++i) {
            const PreviewPoint& back = read->points[i];
            QCOMPARE((QList<float>{back.x, back.y, back.z, float(back.rapid)}),
                     (QList<float>{path[i].x, path[i].y, path[i].z, float(path[i].rapid)}));
            QCOMPARE(SpeedBand(back, read->topSpeed), SpeedBand(path[i], TopSpeed(path)));
        }
        QFile cut(file);
        QVERIFY(cut.resize(cut.size() - 1));
        QVERIFY(!ReadPreviewPath(file));
    }

    // Rapid moves dashed grey, feeds in the colour of their speed, the executed path over them;
    // "Clear" takes both away.
    void thinnedPathKeepsTheShape_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<double>("zigzag"); // mm across
        QTest::addColumn<int>("leastKept");
        QTest::addColumn<int>("mostKept");
        // A run of skips ends after longestSkip points: what is kept is bounded by that.
        const int oneIn = int(ThinnedPath::longestSkip) + 1;
        QTest::newRow("a straight run of 3,300 points") << "line" << 0.0 << 2 << 3300 / oneIn + 2;
        QTest::newRow("a circle of 36,000 points within 0.005 mm")
            << "circle" << 0.0 << 2 << 36001 / oneIn + 2;
        QTest::newRow("a zigzag just beyond the tolerance keeps every corner")
            << "zigzag" << 0.008 << 1000 << 1000;
        QTest::newRow("a zigzag within the tolerance is thinned")
            << "zigzag" << 0.004 << 2 << 1000 / oneIn + 2;
    }

    // Every point dropped lies within the tolerance of the path kept; the ends stay.
    void thinnedPathKeepsTheShape()
    {
        QFETCH(QString, shape);
        QFETCH(double, zigzag);
        QFETCH(int, leastKept);
        QFETCH(int, mostKept);
        std::vector<PathPoint3> points;
        if (shape == "line")
            for (int i = 0; i < 3300; ++i)
                points.push_back({i * 0.01, i * 0.02, 1});
        else if (shape == "circle")
            for (int i = 0; i <= 36000; ++i)
                points.push_back(
                    {10 * std::cos(i * M_PI / 18000), 10 * std::sin(i * M_PI / 18000), 0});
        else
            for (int i = 0; i < 1000; ++i)
                points.push_back({i * 0.5, (i % 2) * zigzag, 0});
        ThinnedPath path;
        for (const PathPoint3& point : points)
            path.Add(point);
        const PathPoints& kept = path.Points();
        QVERIFY2(int(kept.size()) >= leastKept && int(kept.size()) <= mostKept,
                 qPrintable(QString::number(kept.size())));
        QCOMPARE(kept.front(), points.front());
        QCOMPARE(kept.back(), points.back());
        // Each point near some segment of the path kept, looked for from the last one found.
        std::size_t segment = 0;
        for (const PathPoint3& point : points) {
            const auto off = [&](std::size_t at) {
                return DistanceToSegment(point, kept[at], kept[std::min(at + 1, kept.size() - 1)]);
            };
            while (segment + 1 < kept.size() && off(segment) > ThinnedPath::baseTolerance + 1e-12)
                ++segment;
            QVERIFY2(off(segment) <= ThinnedPath::baseTolerance + 1e-12,
                     qPrintable(QStringLiteral("%1, %2").arg(point[0]).arg(point[1])));
        }
    }

    // However long the job, the path kept stays within its capacity, its ends where they were.
    void thinnedPathStaysBounded()
    {
        ThinnedPath path(1000);
        uint32_t state = 7;
        PathPoint3 at{0, 0, 0};
        const PathPoint3 first = at;
        path.Add(first);
        std::size_t most = 0;
        for (int i = 0; i < 200000; ++i) {
            state = state * 1664525u + 1013904223u;
            at[0] += double(state >> 24) / 256 - 0.5;
            at[1] += double((state >> 16) & 0xff) / 256 - 0.5;
            path.Add(at);
            most = std::max(most, path.Points().size());
        }
        QCOMPARE_LE(most, 1000u);
        QCOMPARE(path.Points().front(), first);
        QCOMPARE(path.Points().back(), at);
        QCOMPARE_GT(path.Tolerance(), ThinnedPath::baseTolerance);
    }

    void resumedProgramText_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("resumed");
        const QString program = QStringLiteral("G0 X1 EF200\nG1 X2 F100.5 H1 D50\nG2 X4 Y0 I1 J0\n"
                                               "H0 G1 Y3\nX9");
        QTest::newRow("in an arc, the laser on")
            << program << 3
            << "H0\nG00 G17 X2 Y0 Z0 F100 D50 EF200 ED300\nG02 H1\nG01 G2 X4 Y0 I1 J0\n"
               "H0 G1 Y3\nX9";
        QTest::newRow("the laser off again, the last line")
            << program << 5 << "H0\nG00 G17 X4 Y3 Z0 F100 D50 EF200 ED300\nG01 X9";
        QTest::newRow("the first line: no motion mode, nothing moves")
            << program << 1
            << "G17 X0 Y0 Z0 F10 D300 EF10 ED300\nH0\nG0 X1 EF200\nG1 X2 F100.5 H1 D50\n"
               "G2 X4 Y0 I1 J0\nH0 G1 Y3\nX9";
        QTest::newRow("numbers in plain decimal, the plane, the line number")
            << "N7 G18 G1 X0.00005 Y-0 Z100000000000000000000 F1 ED0.00005\nG2 X1 R1000" << 2
            << "H0\nG00 G18 X0.00005 Y-0 Z100000000000000000000 F1 D300 EF10 ED0.00005 N7\n"
               "G01 G2 X1 R1000";
    }

    void resumedProgramText()
    {
        QFETCH(QString, program);
        QFETCH(int, line);
        QFETCH(QString, resumed);
        QCOMPARE(ResumedProgram(ProgramText(program), line), resumed);
    }

    // Going on at any line gives, after the lead-in, exactly the commands the whole program gives
    // from that line on, streamed and as table rows; the lead-in ends where the line starts, the
    // laser as the lines before left it.
    void resumedProgramGivesTheSameCommands()
    {
        int resumes = 0;
        for (uint32_t seed = 1; seed <= 160; ++seed) {
            const ProgramText whole(QString::fromLatin1(resumableProgram(seed)));
            const std::vector<QStringList> wholeCommands = streamedCommands(whole);
            for (qsizetype line = 1; line <= whole.LineCount(); ++line, ++resumes) {
                const ProgramText resumed(ResumedProgram(whole, line));
                const qsizetype leadIn = resumed.LineCount() - (whole.LineCount() - line + 1);
                const std::vector<QStringList> resumedCommands = streamedCommands(resumed);
                const auto where = [&] {
                    return qPrintable(QStringLiteral("seed %1, line %2:\n%3\nresumed:\n%4")
                                          .arg(seed)
                                          .arg(line)
                                          .arg(whole.JoinedLines(0, whole.LineCount()),
                                               resumed.JoinedLines(0, resumed.LineCount())));
                };
                QVERIFY2(leadIn >= 2, where());
                QVERIFY2(std::equal(wholeCommands.begin() + (line - 1), wholeCommands.end(),
                                    resumedCommands.begin() + leadIn, resumedCommands.end()),
                         where());
                QVERIFY2(tableRowsFrom(whole, line - 1) == tableRowsFrom(resumed, leadIn), where());
                QVERIFY2(leadInLandsWhereTheLineStarts(whole, line, resumed, leadIn), where());
            }
        }
        qInfo("%d resumes, each streamed and as table rows", resumes);
    }

    // Going on at a line of the contour executes what the whole run executes from that line on,
    // after a rapid lead-in with the laser off.
    void resumingExecutesTheRestOfTheRun()
    {
        const ProgramText contour
            = *ProgramText::Read(QStringLiteral(KURVO_EXAMPLES_DIR "/contour.nc"));
        const auto run = [](const ProgramText& program) {
            return dryRunOf(program, DryRunMachine(), PathWanted::Yes, Journalled::Yes).path;
        };
        const std::vector<PreviewPoint> whole = run(contour);
        const std::vector<PreviewPoint> rest = run(ProgramText(ResumedProgram(contour, 1000)));
        const QStringList calls = Journal().filter(QRegularExpression("^MQN_(Ln|Arc|Buf)"));
        rvsim_journal_enable(0);
        QVERIFY(calls.size() > 3);
        // The laser is the position compare's output.
        QVERIFY2(calls[0].startsWith("MQN_BufPosCompareStopEx")
                     && calls[1].startsWith("MQN_LnXYZG0Ex")
                     && calls[2].startsWith("MQN_BufPosCompareStartEx"),
                 qPrintable(calls.mid(0, 3).join(' ')));
        QVERIFY(rest.size() > 1000 && rest.size() < whole.size());
        const std::size_t tail = rest.size() - 2; // after the start and the lead-in's end
        for (std::size_t i = 0; i < tail; ++i) {
            const PreviewPoint& a = whole[whole.size() - tail + i];
            const PreviewPoint& b = rest[2 + i];
            QVERIFY2(std::hypot(a.x - b.x, a.y - b.y, a.z - b.z) < 1e-4 && a.rapid == b.rapid,
                     qPrintable(QStringLiteral("point %1 of the rest").arg(i)));
        }
        QCOMPARE(
            (QList<float>{rest[1].x, rest[1].y}),
            (QList<float>{whole[whole.size() - tail - 1].x, whole[whole.size() - tail - 1].y}));
    }

    void decimationKeepsOnePointAPixel()
    {
        // A million points along 10 mm on a 100 mm view of 100 pixels: a pixel a millimetre.
        const int points = 1000000, pixels = 11;
        const double stepMm = 1e-5;
        const PlotView view{QRectF(0, 0, 100, 100), QSize(100, 100)};
        PathPoints path;
        for (int i = 0; i < points; ++i)
            path.push_back({0.5 + i * stepMm, 50.5, 0});
        const std::vector<QPoint> line
            = DecimatedPolyline(path, 0, path.size(), PlotPlane::XY, view);
        QCOMPARE(int(line.size()), pixels);
        QCOMPARE(line.front(), view.ToPixel({0.5, 50.5}));
        QCOMPARE(line.back(), view.ToPixel(Project(path.back(), PlotPlane::XY)));

        // Continuing from the last pixel drawn adds only what is new.
        path.push_back({path.back()[0], 50.5, 7});
        QCOMPARE(
            DecimatedPolyline(path, path.size() - 1, path.size(), PlotPlane::XY, view, line.back())
                .size(),
            std::size_t(1));
        QCOMPARE(
            DecimatedPolyline(path, path.size() - 1, path.size(), PlotPlane::XZ, view, line.back())
                .size(),
            std::size_t(2));
    }

    // Programs of common G-code, converted, run on the virtual controller along the path rs274
    // and the NURBS library make of them, within the tolerance, at their feeds.
    void conversionFollowsTheReference_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<std::vector<ReferenceCurve>>("curves");

        QTest::newRow("arcs in three planes, a helix, R and absolute centres")
            << "G21 G90 G17\nG0 X0 Y0 Z0\nG1 X10 F600\nG2 X20 Y0 I5 J0\nG3 X30 Y0 R5\n"
               "G18 G2 X40 Z0 I5 K0\nG19 G3 Y10 Z0 J5 K0\nG17 G2 X40 Y10 Z3 I5 J0\n"
               "G90.1 G3 X50 Y10 I45 J10\nG91.1 G2 X60 Y10 R-5\nG1 X0 Y0 F1200\nM2\n"
            << std::vector<ReferenceCurve>{};
        QTest::newRow("relative moves in inches, a dwell, lowercase")
            << "G20 G91 G17\nG0 X0.5 Y0.5\ng1 x1 f23.622\nG2 X1 Y1 I0 J1\nG4 P0.2\n"
               "G3 X-1 Y1 R1 (half a turn) Z0.05\nG1 Y-1 Z0.1 F47.244\nG90 G0 X0 Y0 Z0\nM2\n"
            << std::vector<ReferenceCurve>{};
        QTest::newRow("quadratic and cubic splines, the second cubic going on smoothly")
            << "G21 G90 G17\nG0 X0 Y0\nG1 F1200\nG5.1 X10 Y10 I5 J0\nG5 X20 Y0 I2 J3 P-2 Q2\n"
               "G5 X30 Y10 P-3 Q-1\nM2\n"
            << std::vector<ReferenceCurve>{
                   {{{0, 0, 0}, {5, 0, 0}, {10, 10, 0}}, {1, 1, 1}, 3},
                   {{{10, 10, 0}, {12, 13, 0}, {18, 2, 0}, {20, 0, 0}}, {1, 1, 1, 1}, 4},
                   {{{20, 0, 0}, {22, -2, 0}, {27, 9, 0}, {30, 10, 0}}, {1, 1, 1, 1}, 4}};
        QTest::newRow("a NURBS with weights")
            << "G21 G90 G17\nG0 X0 Y0\nG1 F600\nG5.2 X10 Y20 P1 L3\nX20 Y20 P2\nX30 Y0 P1\n"
               "X40 Y10 P0.5\nG5.3\nG1 X50 Y10\nM2\n"
            << std::vector<ReferenceCurve>{
                   {{{0, 0, 0}, {10, 20, 0}, {20, 20, 0}, {30, 0, 0}, {40, 10, 0}},
                    {1, 1, 2, 1, 0.5},
                    3}};
    }

    void conversionFollowsTheReference()
    {
        QFETCH(QString, program);
        QFETCH(std::vector<ReferenceCurve>, curves);
        const QString source = files.filePath(QStringLiteral("common.ngc"));
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(program.toUtf8()) > 0);
        file.close();
        ReferenceMotion reference;
        QString error;
        QVERIFY2(ReferenceMotionOf(source, curves, reference, error), qPrintable(error));

        const double tolerance = 0.01;
        const Conversion converted = ConvertCommonGCode(ProgramText(program), {tolerance, false});
        QVERIFY2(converted.error.isEmpty(), qPrintable(converted.error));
        const ProgramText written(converted.program.chopped(1)); // as read from its file
        for (const ProgramFinding& finding : CheckProgram(written, 1000).findings)
            QFAIL(qPrintable(QStringLiteral("line %1: %2").arg(finding.line).arg(finding.what)));
        dryRunOf(written, DryRunMachine());
        std::vector<Point3> executed;
        for (const RecordedPoint& point : RecordedPath())
            executed.push_back(
                {point.positions[0] / 1000, point.positions[1] / 1000, point.positions[2] / 1000});
        // The pulses and the written digits add their share to the tolerance. Every point the
        // machine went through lies on the reference; the reference lies on the record of the
        // executed path, which keeps a point every 10 degrees of an arc, as near as its chords.
        const double within = tolerance + 0.002;
        const auto [off, offBy] = FarthestFrom(executed, reference.points);
        QVERIFY2(offBy <= within, qPrintable(QStringLiteral("went %1 mm off at %2, %3, %4")
                                                 .arg(offBy)
                                                 .arg(off[0])
                                                 .arg(off[1])
                                                 .arg(off[2])));
        const auto [missed, missedBy] = FarthestFrom(reference.points, executed);
        QVERIFY2(missedBy <= within + 0.1, qPrintable(QStringLiteral("missed %1, %2, %3 by %4 mm")
                                                          .arg(missed[0])
                                                          .arg(missed[1])
                                                          .arg(missed[2])
                                                          .arg(missedBy)));
        QStringList feeds;
        for (const QRegularExpressionMatch& feed :
             QRegularExpression(" F([0-9.]+)").globalMatch(converted.program))
            feeds << feed.captured(1);
        // The end of the program sets the feed to 0.
        std::vector<double> set;
        for (const double feed : reference.feeds)
            if (feed > 0 && (set.empty() || feed != set.back()))
                set.push_back(feed);
        QCOMPARE(feeds.size(), qsizetype(set.size()));
        for (qsizetype i = 0; i < feeds.size(); ++i)
            QVERIFY2(std::abs(feeds[i].toDouble() / set[std::size_t(i)] - 1) <= 1e-3,
                     qPrintable(feeds[i]));
    }

    // What has no equivalent ends the conversion at its line, or is noted there; the laser, the
    // dwells and the source's lines are as the dialect reads them.
    void conversionWritesTheDialect_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("skip");
        QTest::addColumn<QString>("written"); // or the error
        QTest::addColumn<QStringList>("report");

        QTest::newRow("laser, dwell, feed rounded")
            << "G21\nM3 S800\nG1 X1 F1000\nG4 P0.25\nS0\nM4 S10\nM5\nM2\nG1 X9" << false
            << "G02 H1 N2\nG01 X1 Y0 Z0 F17 N3\nG02 DELAY250 N4\nG02 H0 N5\nG02 H1 N6\nG02 H0 N7\n"
            << QStringList{"line 3: 1,000 mm/min is 16.667 mm/s; the dialect takes whole mm/s: "
                           "F17, 2.0% faster"};
        QTest::newRow("a tool change ends it")
            << "G0 X1\nT2 M6\nG0 X2" << false
            << "line 2: T2 M6 (a tool change) has no equivalent here" << QStringList();
        QTest::newRow("or is noted")
            << "G54 G0 X1\nM8" << true
            << "G02 N1 (skipped: G54)\nG00 X1 Y0 Z0 N1\nG02 N2 (skipped: M8)\n"
            << QStringList{"line 1: G54 (a work offset)", "line 2: M8 (coolant)"};
        QTest::newRow("a feed move without a feed")
            << "G1 X1" << false << "line 1: a feed move before any feed (F)" << QStringList();
        QTest::newRow("a NURBS of too few points")
            << "G1 X1 F60\nG5.2 X2 Y1 L4\nX3 Y0\nG5.3" << false
            << "line 4: a NURBS of order 4 needs as many control points, it has 3" << QStringList();
        QTest::newRow("words after a comment kept")
            << "G1 F60 (cut) X2 ; the rest" << false << "G01 X2 Y0 Z0 F1 N1\n"
            << QStringList();
    }

    void conversionWritesTheDialect()
    {
        QFETCH(QString, program);
        QFETCH(bool, skip);
        QFETCH(QString, written);
        QFETCH(QStringList, report);
        const Conversion converted = ConvertCommonGCode(ProgramText(program), {0.01, skip});
        if (!converted.error.isEmpty()) {
            QCOMPARE(converted.error, written);
            return;
        }
        QCOMPARE(converted.program.section(QLatin1Char('\n'), 1), written);
        QCOMPARE(converted.skipped + converted.notes, report);
        QCOMPARE(converted.sourceLines.size(), std::size_t(written.count(QLatin1Char('\n')) + 1));
    }

    // A converted program names its source's lines: in the check, in the run's "line L of N",
    // and where Run from line goes on.
    void moveBeyondTheTravel_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("left"); // "line: what", empty when it fits

        const auto row = [](const char* name, const char* program, const char* left) {
            QTest::newRow(name) << QString(program) << QString(left);
        };
        row("touching both ends", "G1 X100 Y50 F100\nX0 Y0", "");
        row("a hair past the maximum", "G1 X100.01 F100",
            "1: X goes 0.010 mm past its maximum 100 mm");
        row("below the minimum later", "G1 X10 Y10 F100\nY-2\nY-5",
            "2: Y goes 2.000 mm past its minimum 0 mm");
        row("an arc bulging past, its ends within", "G1 X88 Y47 F100\nG02 X100 Y47 I6 J0",
            "2: Y goes 3.000 mm past its maximum 50 mm");
        row("the same arc the other way round", "G1 X88 Y47 F100\nG03 X100 Y47 I6 J0", "");
        row("a rapid counts too", "G0 X120 EF100", "1: X goes 20.000 mm past its maximum 100 mm");
    }
    // The first motion past the machine's travel, with its line, the axis and how far.
    void moveBeyondTheTravel()
    {
        QFETCH(QString, program);
        QFETCH(QString, left);
        DryRunMachine machine = openMachine(5);
        machine.travel.lowest = {0, 0, -10};
        machine.travel.highest = {100, 50, 0};
        const DryRunReport report = dryRunOf(ProgramText(program), machine);
        const QString seen = report.leftTravel
                                 ? QStringLiteral("%1: %2")
                                       .arg(report.leftTravel->line)
                                       .arg(TravelLeftText(*report.leftTravel, machine.travel))
                                 : QString();
        QCOMPARE(seen, left);
    }

    void frameGoesRoundTheCut_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<double>("originX");
        QTest::addColumn<QList<QPointF>>("corners");

        const int box = int(FrameShape::Box), outline = int(FrameShape::Outline);
        QTest::newRow("box") << box << 0.0 << QList<QPointF>{{10, 0}, {40, 0}, {40, 25}, {10, 25}};
        QTest::newRow("box from an origin")
            << box << 5.0 << QList<QPointF>{{5, 0}, {35, 0}, {35, 25}, {5, 25}};
        // The triangle's inner corner (30, 10) and the lead-in's start are no part of it.
        QTest::newRow("outline") << outline << 0.0
                                 << QList<QPointF>{{10, 10}, {40, 0}, {40, 5}, {20, 25}};
    }
    // The frame's corners from a planned path: a rapid lead-in from (0, 0), a triangle cut, a
    // rapid, and a short cut; worked out by hand.
    void frameGoesRoundTheCut()
    {
        QFETCH(int, shape);
        QFETCH(double, originX);
        QFETCH(QList<QPointF>, corners);
        const std::vector<PreviewPoint> planned{{0, 0, 0, 0, false},   {10, 10, 0, 0, true},
                                                {30, 10, 0, 0, false}, {20, 25, 0, 0, false},
                                                {10, 10, 0, 0, false}, {40, 0, 0, 0, true},
                                                {40, 5, 0, 0, false}};
        const std::vector<QPointF> seen = FrameCorners(planned, {originX, 0, 0}, FrameShape(shape));
        QCOMPARE(QList<QPointF>(seen.begin(), seen.end()), corners);
    }

    void frameProgramKeepsTheLaserOff()
    {
        const QString text = FrameProgramText({{10, 0}, {40, 0}, {40, 25.5}, {10, 25.5}},
                                              FrameMotion{50, 500}, "/jobs/bracket.nc");
        QCOMPARE(text, QStringLiteral("(Frame of bracket.nc, the laser off)\nH0\n"
                                      "G00 X10 Y0 EF50 ED500\nG01 X40 Y0 F50 D500\nX40 Y25.5\n"
                                      "X10 Y25.5\nX10 Y0\n"));
    }

    // The history as a spreadsheet reads it: a header, then a row a job, the program quoted.
    void historyAsCsv()
    {
        JobEntry entry;
        entry.id = 7;
        entry.program = QStringLiteral("/jobs/plate \"A\", 2 mm.nc");
        entry.started = QDateTime(QDate(2026, 12, 8), QTime(9, 30), Qt::UTC);
        entry.outcome = JobEntry::Outcome::Stopped;
        entry.segment = 356;
        entry.segments = 3208;
        entry.line = 1234;
        entry.runSeconds = 12.5;
        const QStringList rows = HistoryCsv({entry}).split(QLatin1Char('\n'));
        QCOMPARE(rows[0], QStringLiteral("id,program,bytes,sha256,lines,segments,started,ended,"
                                         "plannedSeconds,runSeconds,outcome,segment,line,"
                                         "lookAhead,machine"));
        QCOMPARE(rows[1],
                 QStringLiteral("7,\"/jobs/plate \"\"A\"\", 2 mm.nc\",0,,0,3208,"
                                "2026-12-08T09:30:00Z,,,12.50,stopped,356,1234,\"\",\"\""));
        QVERIFY2(HistoryText({entry}).contains(QLatin1String("stopped at segment 356, line 1234")),
                 qPrintable(HistoryText({entry})));
    }

    void convertedProgramNamesItsSource()
    {
        const Conversion converted = ConvertCommonGCode(
            ProgramText(QStringLiteral("G21\nG0 X1\nM3 S5\n\nG1 X2 F60000\nG1 X3\nM2")), {});
        const ProgramText program(converted.program.chopped(1));
        // (header), G00 N2, G02 H1, G01 F1000 N5, G01 N6
        const std::vector<ProgramFinding> findings = CheckProgram(program, 500).findings;
        QCOMPARE(findings.size(), std::size_t(1));
        QCOMPARE(findings[0].line, 5);
        const ProgramLineMap map = MapProgramLines(program);
        QCOMPARE(map.LineCount(), 7);
        QCOMPARE((QList<int64_t>{map.LineAt(0), map.LineAt(2), map.LineAt(3)}),
                 (QList<int64_t>{2, 5, 6}));
        QCOMPARE(ProgramLineOfSource(program, 4), 4);
        QCOMPARE(ProgramLineOfSource(ProgramText(QStringLiteral("X1\nX2")), 2), 2);

        const QString path = files.filePath(QStringLiteral("converted.nc"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(converted.program.toUtf8()) > 0);
        file.close();
        QString written;
        QVERIFY(WriteResumedProgram(path, 6, files.path(), written));
        const std::optional<ProgramText> resumed = ProgramText::Read(written);
        QVERIFY(resumed && ConvertedSourceLines(*resumed) == 7);
        QString widened;
        QCOMPARE(resumed->Line(resumed->LineCount() - 1, widened),
                 QStringLiteral("G01 G01 X3 Y0 Z0 N6"));
    }

private:
    // The lead-in's rapid goes to where the whole program stands before the line, or there is
    // none while no motion mode is in force; the laser ends as the lines before left it.
    static bool leadInLandsWhereTheLineStarts(const ProgramText& whole, qsizetype line,
                                              const ProgramText& resumed, qsizetype leadIn)
    {
        GCodeInterpreter before;
        QString laser = QStringLiteral("laser off");
        QString widened;
        for (qsizetype index = 0; index + 1 < line; ++index) {
            before.InterpretLine(whole.Line(index, widened));
            if (before.laserSwitch == 0 || before.laserSwitch == 1)
                laser = before.laserSwitch == 1 ? QStringLiteral("laser on")
                                                : QStringLiteral("laser off");
            before.FinishLine(false);
        }
        const std::vector<QStringList> perLine = streamedCommands(resumed);
        QStringList sent;
        for (auto commands = perLine.begin(); commands != perLine.begin() + leadIn; ++commands)
            sent << *commands;
        const QStringList rapids = sent.filter(QRegularExpression("^rapid "));
        if (before.motionMode < 0 ? !rapids.isEmpty() : rapids.size() != 1)
            return false;
        const auto n = [](double value) {
            return QString::number(value, 'g', 17);
        };
        using G = GCodeInterpreter;
        if (!rapids.isEmpty()
            && !rapids[0].startsWith(QStringLiteral("rapid %1 %2 %3 ")
                                         .arg(n(before.position[G::X]), n(before.position[G::Y]),
                                              n(before.position[G::Z]))))
            return false;
        const QStringList switches = sent.filter(QRegularExpression("^laser "));
        return !switches.isEmpty() && switches.constLast() == laser;
    }

    // The program as the window holds typed text, and as its file is read: plain ASCII at one
    // byte a character.
    std::vector<ProgramText> bothWidths(const QString& program)
    {
        QFile file(files.filePath(QStringLiteral("program.nc")));
        std::vector<ProgramText> texts{ProgramText(program)};
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(program.toUtf8()) != program.toUtf8().size() || !file.flush()) {
            QTest::qFail("the program's file cannot be written", __FILE__, __LINE__);
            return texts;
        }
        texts.push_back(*ProgramText::Read(file.fileName()));
        return texts;
    }

    QTemporaryDir files;
};

QTEST_GUILESS_MAIN(TestPlanner)
#include "tst_planner.moc"
