#include "gcode/GCodeInterpreter.h"

#include <QRandomGenerator>
#include <QTest>

#include <cstring>

using G = GCodeInterpreter;

class TestGCodeInterpreter : public QObject
{
    Q_OBJECT

private slots:
    void words_data();
    void words();
    void dwellAndDelay();
    void speedsCarryOverAtTheEndOfALine();
    void motionRequests_data();
    void motionRequests();
    void emptyAndCommentLinesRepeatTheLastMove();
    void unknownGNumbersAndCharactersAreSkipped();
    void numbersReadAsTheToolkitConvertsThem_data();
    void numbersReadAsTheToolkitConvertsThem();
    void numbersThatDoNotFitSwitchNothing_data();
    void numbersThatDoNotFitSwitchNothing();
};

void TestGCodeInterpreter::words_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("feed");

    QTest::newRow("feed is truncated") << "G1 X10 Y5 F250.7" << 1 << 10.0 << 5.0 << 250.0;
    QTest::newRow("lower-case g is skipped, x is read") << "g1 x10" << -1 << 10.0 << 0.0 << 10.0;
    QTest::newRow("a comment ends the line") << "G01 X5 (move) Y7" << 1 << 5.0 << 0.0 << 10.0;
    QTest::newRow("semicolon ends the line") << "G00 X1 ; Y2" << 0 << 1.0 << 0.0 << 10.0;
    QTest::newRow("X followed by a letter is 0") << "X7 Y1 XY3" << -1 << 0.0 << 3.0 << 10.0;
    QTest::newRow("words in any order") << "Y-2.5 F100 G3 X+4" << 3 << 4.0 << -2.5 << 100.0;
    QTest::newRow("exponents are not read") << "X1E3" << -1 << 1.0 << 0.0 << 10.0;
    QTest::newRow("G number truncated") << "G1.9 X1" << 1 << 1.0 << 0.0 << 10.0;
}

void TestGCodeInterpreter::words()
{
    QFETCH(QString, line);
    QFETCH(int, mode);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, feed);

    G program;
    program.InterpretLine(line);
    QCOMPARE(program.motionMode, mode);
    QCOMPARE(program.position[G::X], x);
    QCOMPARE(program.position[G::Y], y);
    QCOMPARE(program.line.feed, feed);
}

void TestGCodeInterpreter::dwellAndDelay()
{
    G program;
    program.InterpretLine(QStringLiteral("G04 X2.5"));
    QCOMPARE(program.position[G::X], 0.0);
    QCOMPARE(program.dwellTime, 2.5);
    program.InterpretLine(QStringLiteral("X2.5 G04"));
    QCOMPARE(program.position[G::X], 2.5);

    program.InterpretLine(QStringLiteral("DELAY500"));
    QCOMPARE(program.delayTime, 500.0);
    program.InterpretLine(QStringLiteral("DEL5 X1"));
    QCOMPARE(program.delayTime, -1.0);
    QCOMPARE(program.position[G::X], 1.0);
    program.InterpretLine(QStringLiteral("D50"));
    QCOMPARE(program.line.acceleration, 50.0);
    program.InterpretLine(QStringLiteral("delay20"));
    QCOMPARE(program.delayTime, 20.0);

    program.InterpretLine(QStringLiteral("EF20 ED800 H1"));
    QCOMPARE(program.line.rapidFeed, 20.0);
    QCOMPARE(program.line.rapidAcceleration, 800.0);
    QCOMPARE(program.laserSwitch, 1);
    program.InterpretLine(QStringLiteral("X3"));
    QCOMPARE(program.laserSwitch, -1);
}

void TestGCodeInterpreter::speedsCarryOverAtTheEndOfALine()
{
    G program;
    program.InterpretLine(QStringLiteral("G1 F200 D50 EF30 ED900"));
    QCOMPARE(program.carried.feed, 10.0);
    program.FinishLine(false);
    QCOMPARE(program.carried.feed, 200.0);
    QCOMPARE(program.carried.rapidFeed, 30.0);
    QCOMPARE(program.carried.rapidAcceleration, 900.0);
    QCOMPARE(program.carried.acceleration, 300.0); // the worker does not carry D
    program.InterpretLine(QStringLiteral("X1"));
    QCOMPARE(program.Acceleration(), 300.0);
    QCOMPARE(program.Velocity(), 200.0);

    program.InterpretLine(QStringLiteral("D60"));
    program.FinishLine(true);
    QCOMPARE(program.carried.acceleration, 60.0);
    program.InterpretLine(QStringLiteral("G0 X2"));
    QCOMPARE(program.Velocity(), 30.0);
    QCOMPARE(program.Acceleration(), 900.0);
}

void TestGCodeInterpreter::motionRequests_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("request");
    QTest::addColumn<int>("direction");

    QTest::newRow("centre-form clockwise arc")
        << QStringList{"G02 X10 Y0 I5 J0"} << int(G::CentreArc) << 0;
    QTest::newRow("centre form with a changed Z: no arc")
        << QStringList{"G02 X10 Y0 Z1 I5 J0"} << int(G::NoMotion) << 0;
    QTest::newRow("radius-form counter-clockwise arc")
        << QStringList{"G03 X1 Y1 R2"} << int(G::RadiusArc) << 1;
    QTest::newRow("arc with neither: nothing") << QStringList{"G02 X1 Y1"} << int(G::NoMotion) << 0;
    QTest::newRow("arcs only in the XY plane")
        << QStringList{"G18 G02 X1 Z1 I1"} << int(G::NoMotion) << 0;
    QTest::newRow("arc words clear at the end of a line")
        << QStringList{"G03 X1 Y1 R2", "X2 Y2"} << int(G::NoMotion) << 1;
    QTest::newRow("no mode yet") << QStringList{"X1 Y1"} << int(G::NoMotion) << 0;
}

void TestGCodeInterpreter::motionRequests()
{
    QFETCH(QStringList, lines);
    QFETCH(int, request);
    QFETCH(int, direction);

    G program;
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            program.FinishLine(true);
        program.InterpretLine(lines[i]);
    }
    QCOMPARE(int(program.MotionRequest()), request);
    QCOMPARE(int(program.ArcDirection()), direction);
}

void TestGCodeInterpreter::emptyAndCommentLinesRepeatTheLastMove()
{
    G program;
    program.InterpretLine(QStringLiteral("G1 X4 Y2"));
    program.FinishLine(false);
    for (const char* line : {"", "(comment)", "F20"}) {
        program.InterpretLine(QLatin1String(line));
        QCOMPARE(program.MotionRequest(), G::Line);
        QCOMPARE(program.position[G::X], 4.0);
        program.FinishLine(false);
    }
}

void TestGCodeInterpreter::unknownGNumbersAndCharactersAreSkipped()
{
    G program;
    program.InterpretLine(QStringLiteral("G1 X1"));
    program.InterpretLine(QStringLiteral("G55 G99 Q7 @ X2 N42 T3 G91 G20 G41 G43"));
    QCOMPARE(program.motionMode, 1);
    QCOMPARE(program.position[G::X], 2.0);
    QCOMPARE(program.lineNumber, 42);
    QCOMPARE(program.tool, 3);
    QCOMPARE(program.distanceMode, 91);
    QCOMPARE(program.units, 20);
    QCOMPARE(program.cutterCompensation, 41);
    QCOMPARE(program.lengthCompensation, 43);
}

// Every run of number characters reads as the toolkit's conversion gives it, to the bit: hand
// picked edges, then random runs.
void TestGCodeInterpreter::numbersReadAsTheToolkitConvertsThem_data()
{
    QTest::addColumn<QString>("number");

    const char* const edges[] = {"",     "+",     "-",    ".",    "+.5",  "-.5",  "5.",  "+-1",
                                 "-+1",  "++1",   "--1",  "1-",   "1..2", "-0",   "00012",
                                 "0.1",  "2.675", "1+1",  "9007199254740993"};
    for (const char* edge : edges)
        QTest::newRow(edge[0] ? edge : "empty") << QString::fromLatin1(edge);
    QTest::newRow("more digits than a double holds") << QString(400, QLatin1Char('9'));
    QTest::newRow("below the smallest double") << "0." + QString(400, QLatin1Char('0')) + "1";
    QTest::newRow("a digit of another script") << QStringLiteral("1\u0663");
    QTest::newRow("63 characters") << QString(62, QLatin1Char('1')) + ".5";
    QTest::newRow("64 characters") << QString(63, QLatin1Char('1')) + ".5";

    QRandomGenerator random(7);
    const QString characters = QStringLiteral("0123456789.+-");
    for (int i = 0; i < 2000; ++i) {
        QString run;
        const int length = random.bounded(24);
        for (int c = 0; c < length; ++c)
            run += characters[random.bounded(int(characters.size()))];
        QTest::newRow(qPrintable(QStringLiteral("random %1").arg(i))) << run;
    }
}

void TestGCodeInterpreter::numbersReadAsTheToolkitConvertsThem()
{
    QFETCH(QString, number);

    G program;
    program.InterpretLine("X" + number + " G1");
    const double expected = number.toDouble();
    QCOMPARE(std::memcmp(&program.position[G::X], &expected, sizeof expected), 0);
}

void TestGCodeInterpreter::numbersThatDoNotFitSwitchNothing_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("laser");
    QTest::addColumn<int>("lineNumber");
    QTest::addColumn<int>("tool");

    // The line before is "G1 N5": feed motion, line number 5, no tool, laser untouched.
    const QString huge = QString(400, QLatin1Char('9'));
    QTest::newRow("G beyond 32 bits keeps the feed motion")
        << "G99999999999 X5" << 1 << -1 << 5 << -1;
    QTest::newRow("G of 400 digits (infinite) keeps the motion") << "G" + huge << 1 << -1 << 5 << -1;
    QTest::newRow("G without a number is no G0") << "G X5" << 1 << -1 << 5 << -1;
    QTest::newRow("G with a garbled number is no G0") << "G0-1 X5" << 1 << -1 << 5 << -1;
    QTest::newRow("H beyond 32 bits switches nothing") << "H99999999999" << 1 << -1 << 5 << -1;
    QTest::newRow("H of 2^32 + 1 is no H1") << "H4294967297" << 1 << -1 << 5 << -1;
    QTest::newRow("H without a number is no H0") << "H" << 1 << -1 << 5 << -1;
    QTest::newRow("N and T beyond 32 bits keep their values")
        << "N99999999999 T99999999999" << 1 << -1 << 5 << -1;
    QTest::newRow("well-formed words still apply") << "G0 H0 N-7 T2.9" << 0 << 0 << -7 << 2;
    QTest::newRow("largest 32-bit numbers fit") << "N2147483647 T-2147483648" << 1 << -1
                                                  << 2147483647 << -2147483647 - 1;
}

void TestGCodeInterpreter::numbersThatDoNotFitSwitchNothing()
{
    QFETCH(QString, line);
    QFETCH(int, mode);
    QFETCH(int, laser);
    QFETCH(int, lineNumber);
    QFETCH(int, tool);

    G program;
    program.InterpretLine(QStringLiteral("G1 N5"));
    program.FinishLine(false);
    program.InterpretLine(line);
    QCOMPARE(program.motionMode, mode);
    QCOMPARE(program.laserSwitch, laser);
    QCOMPARE(program.lineNumber, lineNumber);
    QCOMPARE(program.tool, tool);
}

QTEST_MAIN(TestGCodeInterpreter)
#include "tst_gcodeinterpreter.moc"
