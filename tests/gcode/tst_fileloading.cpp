// Choosing and loading program files: short programs become table rows, long ones text.
#include "form/WidgetNames.h"
#include "gcode/ProgramText.h"
#include "module/HostSignal.h"
#include "module/ModuleState.h"
#include "rvsim.h"

#include "LinkedModule.h"
#include "ModalBoxAnswerer.h"
#include "TestHost.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTextStream>
#include <QThread>

#include <memory>

class TestFileLoading : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { host.reset(); }

    void tenLinesBecomeRowsElevenText();
    void rowsOfAProgram_data();
    void rowsOfAProgram();
    void movesRepeatAndCarrySpeeds();
    void longProgramShowsAsText();
    void linesAsATextStreamReadsThem_data();
    void linesAsATextStreamReadsThem();
    void startTakesTheLoadedLinesUntilTheTextChanges_data();
    void startTakesTheLoadedLinesUntilTheTextChanges();
    void aLongProgramRunsToItsEnd();
    void emptyPathWithAlarm();
    void unreadableFileClearsAndSays();
    void fileChoice_data();
    void fileChoice();

private:
    QString write(const QString& name, const QString& text);
    void load(const QString& path);
    QStringList rowTypes() const;
    QString cell(int row, int column) const;

    QTemporaryDir dir;
    std::unique_ptr<TestHost> host;
    QWidget* form = nullptr;
    QTableWidget* table = nullptr;
};

void TestFileLoading::init()
{
    rvsim_reset();
    host = LinkedTestHost();
    form = host->open();
    table = host->find<QTableWidget>(WidgetNames::commandTable);
}

QString TestFileLoading::write(const QString& name, const QString& text)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return QString();
    file.write(text.toUtf8());
    return path;
}

void TestFileLoading::load(const QString& path)
{
    host->find<QLineEdit>(WidgetNames::programPathEdit)->setText(path);
    QVERIFY(QMetaObject::invokeMethod(form, "OnLoadFileDataBtnClicked"));
}

QStringList TestFileLoading::rowTypes() const
{
    QStringList types;
    for (int row = 0; row < table->rowCount(); ++row)
        types << table->item(row, 0)->text();
    return types;
}

QString TestFileLoading::cell(int row, int column) const
{
    auto* editor = qobject_cast<QLineEdit*>(table->cellWidget(row, column));
    return editor ? editor->text() : QString();
}

void TestFileLoading::tenLinesBecomeRowsElevenText()
{
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
}

void TestFileLoading::rowsOfAProgram_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("types");

    QTest::newRow("closed lines") << false << "G01 X10 Y10 F100\nX20\n(end)"
                                  << QStringList{"LnXYZ", "LnXYZ", "LnXYZ"};
    QTest::newRow("open lines") << true << "G01 X10\nG00 X0" << QStringList{"LnXYZEx", "LnXYZG0Ex"};
    QTest::newRow("no motion mode yet gives no rows")
        << false << "X1 Y1\nF20\nG1 X2" << QStringList{"LnXYZ"};
    QTest::newRow("laser before the move")
        << false << "H1 G00 X5\nH0"
        << QStringList{"BufLaserOnEx", "LnXYZG0Ex", "BufLaserOffEx", "LnXYZG0Ex"};
    QTest::newRow("arcs") << false << "G02 X10 Y0 I5 J0\nG03 X0 Y0 R5"
                          << QStringList{"ArcXYC", "ArcXYR"};
    QTest::newRow("arcs with look-ahead")
        << true << "G02 X10 Y0 I5 J0\nG03 X0 Y0 R5" << QStringList{"ArcXYCEx", "ArcXYREx"};
}

void TestFileLoading::rowsOfAProgram()
{
    QFETCH(bool, open);
    QFETCH(QString, program);
    QFETCH(QStringList, types);

    if (open) {
        auto* mode = host->find<QComboBox>(WidgetNames::lookAheadModeCombo);
        mode->setCurrentIndex(1);
    }
    load(write("program.nc", program));
    QCOMPARE(rowTypes(), types);
}

void TestFileLoading::movesRepeatAndCarrySpeeds()
{
    load(write("three.nc", "G01 X10 Y10 F100\nX20\n(end)"));
    const QStringList expected[] = {{"10.000", "10.000", "0.000", "100.000", "300.000"},
                                    {"20.000", "10.000", "0.000", "100.000", "300.000"},
                                    {"20.000", "10.000", "0.000", "100.000", "300.000"}};
    for (int row = 0; row < 3; ++row) {
        QStringList cells;
        for (int column = 1; column <= 5; ++column)
            cells << cell(row, column);
        QCOMPARE(cells, expected[row]);
    }

    load(write("arc.nc", "G02 X10 Y0 I5 J-1 F40 D70"));
    QStringList cells;
    for (int column = 1; column <= 9; ++column)
        cells << cell(0, column);
    QCOMPARE(cells, (QStringList{"10.000", "0.000", "5.000", "-1.000", "0", "40.000", "70.000",
                                 "0.000", "0"}));
}

void TestFileLoading::longProgramShowsAsText()
{
    QStringList lines;
    for (int i = 0; i < 50; ++i)
        lines << QStringLiteral("G1 X%1").arg(i);
    load(write("long.nc", lines.join('\n')));
    auto* text = host->find<QTextEdit>(WidgetNames::programTextView);
    QCOMPARE(text->textCursor().position(), 0);
    QCOMPARE(text->document()->blockCount(), 50);
}

void TestFileLoading::linesAsATextStreamReadsThem_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one line feed") << QByteArray("\n");
    QTest::newRow("no last feed") << QByteArray("G1 X1\nG1 X2");
    QTest::newRow("last feed") << QByteArray("G1 X1\nG1 X2\n");
    QTest::newRow("empty lines") << QByteArray("\n\nG1\n\n\n");
    QTest::newRow("carriage returns") << QByteArray("G1 X1\r\nG1\r\r\nX2\r");
    QTest::newRow("utf-8 mark") << QByteArray("\xef\xbb\xbfG1 X1\n(Kreis \xc3\xa4)\n");
    QTest::newRow("utf-16 mark") << QByteArray("\xff\xfeG\0001\0\n\0X\0", 10);
    QTest::newRow("broken utf-8") << QByteArray("G1 X\xc3\x28\n\xe2\x82");
    QTest::newRow("nul") << QByteArray("G1\0X1\nX2", 9);
}

// One read of the file gives the lines that reading it line by line gave.
void TestFileLoading::linesAsATextStreamReadsThem()
{
    QFETCH(QByteArray, bytes);
    QFile file(dir.filePath(QStringLiteral("lines.nc")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();

    QStringList expected;
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QTextStream stream(&file);
    while (!stream.atEnd())
        expected << stream.readLine();

    const std::optional<ProgramText> program = ProgramText::Read(file.fileName());
    QVERIFY(program);
    QStringList lines;
    for (qsizetype line = 0; line < program->LineCount(); ++line)
        lines << program->Line(line).toString();
    QCOMPARE(lines, expected);
    QCOMPARE(program->JoinedText(), expected.join(u'\n'));
}

void TestFileLoading::startTakesTheLoadedLinesUntilTheTextChanges_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::newRow("read at once") << 11;
    QTest::newRow("read away from the window") << 60000; // beyond a mebibyte
}

void TestFileLoading::startTakesTheLoadedLinesUntilTheTextChanges()
{
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
    QCOMPARE(sent->Line(lineCount - 1), lines.last());
    QCOMPARE(startAndStop(), sent); // the same lines, not split again

    view->setPlainText(QStringLiteral("G1 X1\nG1 X2\n"));
    sent = startAndStop();
    QVERIFY(sent);
    QCOMPARE(sent->LineCount(), 3);
    QCOMPARE(sent->Line(1), QStringLiteral("G1 X2"));
}

// 200,000 one-millimetre moves to and fro at 10 mm/s, each to a full stop: about 7 hours of
// motion, 5 s at the time scale here, with the buffer some 100 ms ahead of the machine.
void TestFileLoading::aLongProgramRunsToItsEnd()
{
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
    short run = 1;
    int32_t completed = 0;
    QTRY_VERIFY_WITH_TIMEOUT((MQN_CrdStatus(1, 1, &run, &completed, 0), run == 0), 120000);
    QCOMPARE(completed, lineCount);
    const short yProfile = short(
        host->find<QComboBox>(WidgetNames::perAxis(WidgetNames::profileCombo, 1))->currentText().toInt());
    const double yScale = host->find<QLineEdit>(WidgetNames::perAxis(WidgetNames::scaleEdit, 1))->text().toDouble();
    double y = 0;
    MQN_GetPrfPos(1, yProfile, &y, 1, nullptr);
    QCOMPARE(y, (lineCount - 1) * 0.001 * yScale);
}

void TestFileLoading::emptyPathWithAlarm()
{
    load(write("one.nc", "G1 X1"));
    QCOMPARE(table->rowCount(), 1);
    ModalBoxAnswerer answerer;
    load(QString());
    QCOMPARE(answerer.first().title, QStringLiteral("Info"));
    QCOMPARE(answerer.first().text, QStringLiteral("File path can not be empty !"));
    QCOMPARE(table->rowCount(), 1);
}

void TestFileLoading::unreadableFileClearsAndSays()
{
    load(write("one.nc", "G1 X1"));
    ModalBoxAnswerer answerer;
    load(dir.filePath("missing.nc"));
    QCOMPARE(answerer.first().text, QStringLiteral("File open fail !"));
    QCOMPARE(table->rowCount(), 0);
}

void TestFileLoading::fileChoice_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("choose");

    QTest::newRow("program chosen")
        << QByteArray("OnbtnOpenFileData") << QByteArray(WidgetNames::programPathEdit) << "NC(*.nc)"
        << true;
    QTest::newRow("program dialog cancelled")
        << QByteArray("OnbtnOpenFileData") << QByteArray(WidgetNames::programPathEdit) << "NC(*.nc)"
        << false;
    QTest::newRow("learning file chosen")
        << QByteArray("OnbtnIlcOpenFileData") << QByteArray(WidgetNames::ilcPathEdit)
        << "ILC(*.ilc)" << true;
}

void TestFileLoading::fileChoice()
{
    QFETCH(QByteArray, slot);
    QFETCH(QByteArray, field);
    QFETCH(QString, filter);
    QFETCH(bool, choose);

    const QString file = write("chosen.nc", "G1 X1");
    auto* path = host->find<QLineEdit>(field.constData());
    path->setText(QStringLiteral("before"));
    {
        FileDialogAnswerer answerer(choose ? file : QString());
        QVERIFY(QMetaObject::invokeMethod(form, slot.constData()));
        QCOMPARE(answerer.caption, QStringLiteral("1,txt"));
        QCOMPARE(answerer.directory, QCoreApplication::applicationDirPath());
        QCOMPARE(answerer.filters, (QStringList{filter, "All(*.*)"}));
    }
    QCOMPARE(path->text(), choose ? file : QString());
    QCOMPARE(table->rowCount(), 0); // choosing loads nothing
}

QTEST_MAIN(TestFileLoading)
#include "tst_fileloading.moc"
