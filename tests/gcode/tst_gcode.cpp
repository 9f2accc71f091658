// The G-code interpreter, line by line, and program files: reading them, short programs becoming
// table rows and long ones text, and what a Start hands the worker.
#include "gcode/GCodeInterpreter.h"
#include "gcode/ProgramText.h"
#include "module/ModuleState.h"

#include "WindowTest.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTextStream>
#include <QThread>

#include <cstring>

using G = GCodeInterpreter;

class TestGCode : public QObject
{
    Q_OBJECT

private slots:
    void init() { rvsim_reset(); }

    void cleanup() { host.reset(); }

    void words_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("feed");

        QTest::newRow("feed is truncated") << "G1 X10 Y5 F250.7" << 1 << 10.0 << 5.0 << 250.0;
        QTest::newRow("a comment ends the line") << "G01 X5 (move) Y7" << 1 << 5.0 << 0.0 << 10.0;
        QTest::newRow("X followed by a letter is 0") << "X7 Y1 XY3" << -1 << 0.0 << 3.0 << 10.0;
        QTest::newRow("words in any order") << "Y-2.5 F100 G3 X+4" << 3 << 4.0 << -2.5 << 100.0;
        QTest::newRow("exponents are not read") << "X1E3" << -1 << 1.0 << 0.0 << 10.0;
        QTest::newRow("G number truncated") << "G1.9 X1" << 1 << 1.0 << 0.0 << 10.0;
    }

    void words()
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

    void dwellAndDelay()
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

    void speedsCarryOverAtTheEndOfALine()
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

    void wordsAsTold_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("told");
        QTest::addColumn<int>("endsAt");

        // A G, H, N or T number of plain digits is told as read: "=1".
        QTest::newRow("plain") << "G01 X1.5 y-2" << QStringList{"G 01 =1", "X 1.5", "y -2"} << -1;
        QTest::newRow("whole numbers")
            << "N12 G1.5 T123456789 H1234567890 G-1"
            << QStringList{"N 12 =12", "G 1.5", "T 123456789 =123456789", "H 1234567890", "G -1"}
            << -1;
        QTest::newRow("dialect's own")
            << "DELAY500 EF20 ED9 DEL5 E7"
            << QStringList{"DELAY 500", "EF 20", "ED 9", "DEL 5", "E 7"} << -1;
        // The dwell's X is the interpreter's: G4.5 is G4 to it, and a later G ends the dwell.
        QTest::newRow("dwell") << "G4.5 X2 X3" << QStringList{"G 4.5", "X 2 dwell", "X 3"} << -1;
        QTest::newRow("G after G4")
            << "G4 G28 X2" << QStringList{"G 4 =4", "G 28 =28", "X 2"} << -1;
        QTest::newRow("skipped") << "g1 M3 S100 t2" << QStringList{"g 1", "M 3", "S 100", "t 2"}
                                 << -1;
        // A word is never without its first character, a number character too.
        QTest::newRow("numbers without a letter")
            << "55 -2X1" << QStringList{"5 5", "- 2", "X 1"} << -1;
        QTest::newRow("comment") << "X1 (a) Y2" << QStringList{"X 1"} << 3;
        QTest::newRow("Latin-1 letters")
            << "\u00b5X1 \u00e92" << QStringList{"\u00b5 ", "X 1", "\u00e9 2"} << -1;
        QTest::newRow("slash") << "/X1" << QStringList() << 0;
    }

    // What the interpreter tells of each word is how it read the word, from a line held at two
    // bytes a character or at one alike.
    void wordsAsTold()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, told);
        QFETCH(int, endsAt);

        const QByteArray narrow = line.toLatin1();
        for (const bool wide : {true, false}) {
            GCodeInterpreter program;
            LineWords words;
            if (wide)
                program.InterpretLine(QStringView(line), &words);
            else
                program.InterpretLine(QLatin1String(narrow), &words);
            QStringList seen;
            for (const ReadWord& word : words.words) {
                QCOMPARE(QChar(word.first), word.Letters(line).front());
                seen << word.Letters(line).toString() + ' ' + word.Number(line).toString()
                            + (word.dwellTime ? " dwell" : "")
                            + (word.Digits() ? QStringLiteral(" =%1").arg(*word.Digits())
                                             : QString());
            }
            QCOMPARE(seen, told);
            QCOMPARE(words.endsAt, qsizetype(endsAt));
        }
    }

    void motionRequests_data()
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
        QTest::newRow("arc words clear at the end of a line")
            << QStringList{"G03 X1 Y1 R2", "X2 Y2"} << int(G::NoMotion) << 1;
        QTest::newRow("no mode yet") << QStringList{"X1 Y1"} << int(G::NoMotion) << 0;
    }

    void motionRequests()
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

    // Every run of number characters reads as the toolkit's conversion gives it, to the bit: hand
    // picked edges, then random runs.
    void numbersReadAsTheToolkitConvertsThem_data()
    {
        QTest::addColumn<QString>("number");

        const char* const edges[]
            = {"", "-", ".", "+.5", "5.", "+-1", "1-", "1..2", "-0", "2.675", "9007199254740993"};
        for (const char* edge : edges)
            QTest::newRow(edge[0] ? edge : "empty") << QString::fromLatin1(edge);
        QTest::newRow("more digits than a double holds") << QString(400, QLatin1Char('9'));
        QTest::newRow("below the smallest double") << "0." + QString(400, QLatin1Char('0')) + "1";
        QTest::newRow("a digit of another script") << QStringLiteral("1\u0663");
        QTest::newRow("63 characters") << QString(62, QLatin1Char('1')) + ".5";
        QTest::newRow("64 characters") << QString(63, QLatin1Char('1')) + ".5";

        QTest::newRow("the largest exact whole") << QStringLiteral("9007199254740991.5");
        QTest::newRow("22 decimals") << QStringLiteral("-0.0000000000000000000017");
        QTest::newRow("23 decimals") << QStringLiteral("0.00000000000000000000017");
        QTest::newRow("digits of 2^64 + 1") << QStringLiteral("1844674407370955161.7");

        QRandomGenerator random(7);
        // Plain decimals of up to 19 digits, a point anywhere among them.
        for (int i = 0; i < 2000; ++i) {
            QString run = random.bounded(2) ? QStringLiteral("-") : QString();
            const int length = 1 + random.bounded(19);
            const int point = random.bounded(length + 1);
            for (int c = 0; c < length; ++c)
                run += (c == point ? QStringLiteral(".") : QString())
                       + QChar(u'0' + random.bounded(10));
            QTest::newRow(qPrintable(QStringLiteral("decimal %1").arg(i))) << run;
        }
        const QString characters = QStringLiteral("0123456789.+-");
        for (int i = 0; i < 2000; ++i) {
            QString run;
            const int length = random.bounded(24);
            for (int c = 0; c < length; ++c)
                run += characters[random.bounded(int(characters.size()))];
            QTest::newRow(qPrintable(QStringLiteral("random %1").arg(i))) << run;
        }
    }

    // Inside a line and at its end, held at two bytes a character or, where it can be, at one.
    void numbersReadAsTheToolkitConvertsThem()
    {
        QFETCH(QString, number);

        const double expected = number.toDouble();
        for (const QString& line : {"X" + number + " G1", "G1 X" + number}) {
            G wide;
            wide.InterpretLine(line);
            QCOMPARE(std::memcmp(&wide.position[G::X], &expected, sizeof expected), 0);
            const QByteArray narrow = line.toLatin1();
            if (QString::fromLatin1(narrow) != line)
                continue;
            G oneByte;
            oneByte.InterpretLine(QLatin1String(narrow));
            QCOMPARE(std::memcmp(&oneByte.position[G::X], &expected, sizeof expected), 0);
        }
    }

    void numbersThatDoNotFitSwitchNothing_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("laser");
        QTest::addColumn<int>("lineNumber");
        QTest::addColumn<int>("tool");

        // The line before is "G1 N5": feed motion, line number 5, no tool, laser untouched.
        QTest::newRow("G beyond 32 bits keeps the feed motion")
            << "G99999999999 X5" << 1 << -1 << 5 << -1;
        QTest::newRow("G without a number is no G0") << "G X5" << 1 << -1 << 5 << -1;
        QTest::newRow("G with a garbled number is no G0") << "G0-1 X5" << 1 << -1 << 5 << -1;
        QTest::newRow("H beyond 32 bits switches nothing") << "H99999999999" << 1 << -1 << 5 << -1;
        QTest::newRow("H of 2^32 + 1 is no H1") << "H4294967297" << 1 << -1 << 5 << -1;
        QTest::newRow("N and T beyond 32 bits keep their values")
            << "N99999999999 T99999999999" << 1 << -1 << 5 << -1;
        QTest::newRow("well-formed words still apply") << "G0 H0 N-7 T2.9" << 0 << 0 << -7 << 2;
        QTest::newRow("largest 32-bit numbers fit")
            << "N2147483647 T-2147483648" << 1 << -1 << 2147483647 << -2147483647 - 1;
    }

    void numbersThatDoNotFitSwitchNothing()
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

    void linesAsATextStreamReadsThem_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("no last feed") << QByteArray("G1 X1\nG1 X2");
        QTest::newRow("carriage returns") << QByteArray("G1 X1\r\nG1\r\r\nX2\r");
        QTest::newRow("carriage returns inside lines and alone")
            << QByteArray("\rG1\rX1\r\n\r\r\r\nX2\r\rY3");
        QTest::newRow("utf-8 mark") << QByteArray("\xef\xbb\xbfG1 X1\n(Kreis \xc3\xa4)\n");
        QTest::newRow("utf-16 mark") << QByteArray("\xff\xfeG\0001\0\n\0X\0", 10);
        QTest::newRow("broken utf-8") << QByteArray("G1 X\xc3\x28\n\xe2\x82");
    }

    // One read of the file gives the lines that reading it line by line gave.
    void linesAsATextStreamReadsThem()
    {
        QFETCH(QByteArray, bytes);
        QFile file(dir.filePath(QStringLiteral("lines.nc")));
        QVERIFY(WriteFile(file.fileName(), bytes));

        QStringList expected;
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        QTextStream stream(&file);
        while (!stream.atEnd())
            expected << stream.readLine();

        const std::optional<ProgramText> program = ProgramText::Read(file.fileName());
        QVERIFY(program);
        QStringList lines;
        QString widened;
        for (qsizetype line = 0; line < program->LineCount(); ++line)
            lines << program->Line(line, widened).toString();
        QCOMPARE(lines, expected);
        QCOMPARE(program->JoinedLines(0, program->LineCount()), expected.join(u'\n'));
        QCOMPARE(program->JoinedLines(1, program->LineCount()), expected.mid(1).join(u'\n'));
    }

    void tenLinesBecomeRowsElevenText()
    {
        openForm();
        QStringList lines{QStringLiteral("G1 X1")};
        for (int i = 2; i <= 10; ++i)
            lines << QStringLiteral("X%1").arg(i);
        load(write("ten.nc", lines.join('\n')));
        QCOMPARE(table->rowCount(), 10);
        QVERIFY(!table->isHidden());
        QVERIFY(host->find(WidgetNames::programTextView)->isHidden());

        lines << QStringLiteral("X11");
        load(write("eleven.nc", lines.join('\n')));
        QCOMPARE(table->rowCount(), 0);
        QVERIFY(table->isHidden());
        auto* text = host->find<QTextEdit>(WidgetNames::programTextView);
        QVERIFY(!text->isHidden());
        QCOMPARE(text->toPlainText(), lines.join('\n'));
        QCOMPARE(text->document()->blockCount(), 11);
        QCOMPARE(text->textCursor().position(), 0);
    }

    void rowsOfAProgram_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("types");

        QTest::newRow("no motion mode yet gives no rows")
            << false << "X1 Y1\nF20\nG1 X2" << QStringList{"LnXYZ"};
        QTest::newRow("laser before the move")
            << false << "H1 G00 X5\nH0"
            << QStringList{"BufLaserOnEx", "LnXYZG0Ex", "BufLaserOffEx", "LnXYZG0Ex"};
        QTest::newRow("arcs") << false << "G02 X10 Y0 I5 J0\nG03 X0 Y0 R5"
                              << QStringList{"ArcXYC", "ArcXYR"};
        QTest::newRow("lines and arcs with look-ahead")
            << true << "G01 X10\nG00 X0\nG02 X10 Y0 I5 J0\nG03 X0 Y0 R5"
            << QStringList{"LnXYZEx", "LnXYZG0Ex", "ArcXYCEx", "ArcXYREx"};
    }

    void rowsOfAProgram()
    {
        QFETCH(bool, open);
        QFETCH(QString, program);
        QFETCH(QStringList, types);

        openForm();
        if (open)
            host->openLookAhead();
        load(write("program.nc", program));
        QCOMPARE(rowTypes(), types);
    }

    void movesRepeatAndCarrySpeeds()
    {
        openForm();
        load(write("three.nc", "G01 X10 Y10 F100\nX20\n(end)"));
        QCOMPARE(rowTypes(), (QStringList{"LnXYZ", "LnXYZ", "LnXYZ"}));
        QCOMPARE(cells(0, 5), (QStringList{"10.000", "10.000", "0.000", "100.000", "300.000"}));
        QCOMPARE(cells(1, 5), (QStringList{"20.000", "10.000", "0.000", "100.000", "300.000"}));
        QCOMPARE(cells(2, 5), cells(1, 5));

        load(write("arc.nc", "G02 X10 Y0 I5 J-1 F40 D70"));
        QCOMPARE(cells(0, 9), (QStringList{"10.000", "0.000", "5.000", "-1.000", "0", "40.000",
                                           "70.000", "0.000", "0"}));
    }

    void startTakesTheLoadedLinesUntilTheTextChanges_data()
    {
        QTest::addColumn<int>("lineCount");
        QTest::newRow("read at once") << 11;
        QTest::newRow("read away from the window") << 60000; // beyond a mebibyte
    }

    void startTakesTheLoadedLinesUntilTheTextChanges()
    {
        openForm();
        QFETCH(int, lineCount);
        QStringList lines;
        for (int i = 0; i < lineCount; ++i)
            lines << QStringLiteral("G01 X%1.5 Y-3").arg(i, 12);
        load(write("long.nc", lines.join(u'\n') + u'\n'));
        auto* view = host->find<QTextEdit>(WidgetNames::programTextView);
        QVERIFY(view->isVisible());
        QCOMPARE(view->toPlainText(), lines.join(u'\n'));
        QCOMPARE(view->textCursor().position(), 0);

        // What a Start hands its worker; nothing when the worker does not end on Stop.
        auto startAndStop = [this]() -> std::shared_ptr<const ProgramText> {
            QMetaObject::invokeMethod(form, "OnStartBtnClicked");
            std::shared_ptr<const ProgramText> sent = moduleState().programLines;
            QMetaObject::invokeMethod(form, "OnStopBtnClicked");
            auto* worker = form->findChild<QThread*>();
            if (!worker || !QTest::qWaitFor([worker] { return worker->isFinished(); }))
                return nullptr;
            delete worker;
            return sent;
        };
        std::shared_ptr<const ProgramText> sent = startAndStop();
        QVERIFY(sent);
        QCOMPARE(sent->LineCount(), lineCount);
        QString widened;
        QCOMPARE(sent->Line(lineCount - 1, widened), lines.last());
        QCOMPARE(startAndStop(), sent); // the same lines, not split again

        view->setPlainText(QStringLiteral("G1 X1\nG1 X2\n"));
        sent = startAndStop();
        QVERIFY(sent);
        QCOMPARE(sent->LineCount(), 3);
        QCOMPARE(sent->Line(1, widened), QStringLiteral("G1 X2"));
    }

    // 200,000 one-millimetre moves to and fro at 10 mm/s, each to a full stop: about 7 hours of
    // motion, 5 s at the time scale here, with the buffer some 100 ms ahead of the machine.
    void aLongProgramRunsToItsEnd()
    {
        openForm();
        constexpr int lineCount = 200000;
        QString text = QStringLiteral("G01 X1 Y0 F10\n");
        for (int i = 1; i < lineCount; ++i)
            text += QStringLiteral("X%1 Y%2\n").arg(1 - i % 2).arg(i * 0.001, 0, 'f', 3);
        host->openLookAhead();
        QVERIFY(QMetaObject::invokeMethod(form, "OnInitBtnClicked"));
        load(write("long.nc", text));
        QVERIFY(host->find<QTextEdit>(WidgetNames::programTextView)->isVisible());

        rvsim_set_time_scale(5000);
        QVERIFY(QMetaObject::invokeMethod(form, "OnStartBtnClicked"));
        auto* worker = form->findChild<QThread*>();
        QVERIFY(worker);
        QTRY_VERIFY_WITH_TIMEOUT(worker->isFinished(), 120000);
        QTRY_COMPARE_WITH_TIMEOUT(CompletedSegments(), lineCount, 120000);
        double y = 0; // Y on profile 3 at 10000 pulses a millimetre, as the window starts
        MQN_GetPrfPos(1, 3, &y, 1, nullptr);
        QCOMPARE(y, (lineCount - 1) * 0.001 * 10000);
    }

    void pathThatLoadsNothing_data()
    {
        QTest::addColumn<QString>("kind"); // what the path names; empty: no path
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rowsLeft");
        QTest::addColumn<QString>("reason"); // of the host line; empty: no line

        const QString failed = QStringLiteral("File open fail !");
        const QString notRegular = QStringLiteral("it is not a regular file");
        QTest::newRow("empty: the table stays")
            << QString() << "File path can not be empty !" << 1 << QString();
        QTest::newRow("missing: the table is cleared") << "nothing" << failed << 0 << QString();
        // A pipe would block the window until a writer comes, a device never ends.
        QTest::newRow("a pipe is not opened") << "pipe" << failed << 0 << notRegular;
        QTest::newRow("a device is not read") << "device" << failed << 0 << notRegular;
        QTest::newRow("a link to a pipe is not opened")
            << "link to pipe" << failed << 0 << notRegular;
        QTest::newRow("a folder") << "folder" << failed << 0 << notRegular;
        QTest::newRow("beyond 64 MiB") << "sparse" << failed << 0 << "it is larger than 64 MiB";
    }

    void pathThatLoadsNothing()
    {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(int, rowsLeft);
        QFETCH(QString, reason);

        openForm();
        load(write("one.nc", "G1 X1"));
        QCOMPARE(table->rowCount(), 1);
        const QString path = kind.isEmpty() ? QString() : dir.filePath(kind + ".nc");
        if (!path.isEmpty()) {
            const QString unmade = MakeSpecialFile(path, kind, ProgramText::largestFile + 1);
            if (!unmade.isEmpty())
                QSKIP(qPrintable(unmade));
        }
        ModalBoxAnswerer answerer;
        load(path);
        QCOMPARE(answerer.first().title, QStringLiteral("Info"));
        QCOMPARE(answerer.first().text, text);
        QCOMPARE(table->rowCount(), rowsLeft);
        const QStringList lines
            = reason.isEmpty() ? QStringList()
                               : QStringList{QStringLiteral("The program %1 was not loaded: %2.")
                                                 .arg(QDir::toNativeSeparators(path), reason)};
        QCOMPARE(TestHost::Lines(), lines);
    }

private:
    void openForm()
    {
        host = LinkedTestHost();
        form = host->open();
        table = host->find<QTableWidget>(WidgetNames::commandTable);
    }
    QString write(const QString& name, const QString& text)
    {
        const QString path = dir.filePath(name);
        return WriteFile(path, text.toUtf8()) ? path : QString();
    }
    void load(const QString& path)
    {
        host->find<QLineEdit>(WidgetNames::programPathEdit)->setText(path);
        QVERIFY(QMetaObject::invokeMethod(form, "OnLoadFileDataBtnClicked"));
    }
    QStringList rowTypes() const { return TableRowTypes(*host); }
    QStringList cells(int row, int count) const { return TableRowCells(*host, row, count); }

    QTemporaryDir dir;
    std::unique_ptr<TestHost> host;
    QWidget* form = nullptr;
    QTableWidget* table = nullptr;
};

QTEST_MAIN(TestGCode)
#include "tst_gcode.moc"
