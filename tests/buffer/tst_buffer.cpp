// The command table: the types the catalogue offers, the header labels and unit tips that follow
// the type being worked on, and which controller calls each row becomes when it is sent.
#include "buffer/CommandCatalogue.h"

#include "WindowTest.h"

#include <cstdlib>
#include <functional>
#include <limits>

using Rows = QList<QPair<QString, QStringList>>;

class TestBuffer : public QObject
{
    Q_OBJECT

private slots:
    void init() { host = LinkedTestHostOnManualClock(); }

    void cleanup() { host.reset(); }

    void offeredTypes_data()
    {
        QTest::addColumn<int>("dimension");
        QTest::addColumn<bool>("open");
        QTest::addColumn<QStringList>("types");

        const QStringList closedIo{"BufIo",        "BufDelay",  "BufDA",
                                   "BufSetStopIo", "BufLmtsOn", "BufLmtsOff"};
        const QStringList openIo{"BufIoEx",     "BufDelayEx",   "BufDAEx",      "BufSetStopIoEx",
                                 "BufLmtsOnEx", "BufLmtsOffEx", "BufLaserOnEx", "BufLaserOffEx"};
        const QStringList closedMoves{"ArcXYR", "ArcXYC", "ArcZXR",  "ArcZXC",
                                      "ArcYZR", "ArcYZC", "BufMove", "BufGear"};
        const QStringList openMoves{"ArcXYREx", "ArcXYCEx", "ArcZXREx",  "ArcZXCEx",
                                    "ArcYZREx", "ArcYZCEx", "BufMoveEx", "BufGearEx"};

        QTest::newRow("d 1 closed: buffer I/O only") << 1 << false << closedIo;
        QTest::newRow("d 3 open") << 3 << true
                                  << QStringList{"LnXYEx", "LnXYG0Ex", "LnXYZEx", "LnXYZG0Ex"}
                                         + openMoves + openIo;
        const QStringList four
            = QStringList{"LnXY", "LnXYG0", "LnXYZ", "LnXYZG0", "LnXYZA", "LnXYZAG0"} + closedMoves
              + closedIo;
        QTest::newRow("d 5 closed: what d 4 offers") << 5 << false << four;
    }

    void offeredTypes()
    {
        QFETCH(int, dimension);
        QFETCH(bool, open);
        QFETCH(QStringList, types);

        QCOMPARE(OfferedCommandTypes(dimension, open), types);
        for (const QString& type : types) {
            const CommandType* found = FindCommandType(type);
            QVERIFY2(found && found->name == type, qPrintable(type));
        }
    }

    // A type with fewer columns leaves the later labels and the tips of the columns it does not
    // name; an unknown type changes nothing; choosing a type in the combo relabels.
    void relabellingKeepsWhatTheNewTypeLeaves()
    {
        openForm();
        titlechanged(QStringLiteral("ArcXYC"));
        titlechanged(QStringLiteral("ArcXYREx"));
        const QStringList arcLabels{"CrdID",  "X",      "Y",      "radius", "circleDir",
                                    "synVel", "synAcc", "SegNum", "velEnd", "SegNum"};
        QCOMPARE(headers(Qt::DisplayRole), arcLabels);
        titlechanged(QStringLiteral("NoSuchType"));
        titlechanged(QString());
        QCOMPARE(headers(Qt::DisplayRole), arcLabels);

        titlechanged(QStringLiteral("LnXY"));
        titlechanged(QStringLiteral("BufIo"));
        QCOMPARE(headers(Qt::ToolTipRole).mid(1, 5),
                 (QStringList{"mm", "mm", "mm/s", "mm/s^2", "mm/s"}));
        QCOMPARE(headers(Qt::DisplayRole).mid(0, 4),
                 (QStringList{"BufID", "doType", "doMask", "doValue"}));

        host->chooseText(WidgetNames::bufDataTypeCombo, QStringLiteral("ArcXYC"));
        QCOMPARE(headers(Qt::DisplayRole).mid(0, 4), (QStringList{"CrdID", "X", "Y", "xCenter"}));
    }

    void typeChoiceFollowsDimensionAndMode()
    {
        openForm();
        auto* types = host->find<QComboBox>(WidgetNames::bufDataTypeCombo);
        host->chooseText(WidgetNames::dimensionCombo, QStringLiteral("1"));
        host->openLookAhead();
        QStringList offered;
        for (int i = 0; i < types->count(); ++i)
            offered << types->itemText(i);
        QCOMPARE(offered, OfferedCommandTypes(1, true));
        host->chooseText(WidgetNames::dimensionCombo, QStringLiteral("2"));
        QCOMPARE(types->itemText(0), QStringLiteral("LnXYEx"));
        QCOMPARE(types->currentText(), QStringLiteral("LnXYEx"));
    }

    void rowsBecomeCalls_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QStringList>("calls");

        const auto row
            = [](const char* name, bool open, const Rows& rows, const QStringList& calls) {
                  QTest::newRow(name) << open << rows << calls;
              };
        row("LnXY in pulses", false, {{"LnXY", {"12.3456", "-0.0019", "50", "0.5", "0", "3"}}},
            {"MQN_LnXY(1, 1, 12345, -1, 50, 0.0005, 0, 0)"});
        row("LnXY with look-ahead open", true,
            {{"LnXY", {"12.3456", "-0.0019", "50", "0.5", "0", "3"}}},
            {"MQN_LnXYEx(1, 1, 12.3456, -0.0019, 50, 0.5, 3, 0, 0)"});
        row("an Ex row with look-ahead closed sends velEnd 0", false,
            {{"LnXY", {"0", "0", "10", "1", "7", "1"}}, {"LnXYEx", {"1", "2", "10", "1", "4"}}},
            {"MQN_LnXY(1, 1, 0, 0, 10, 0.001, 7, 0)",
             "MQN_LnXY(1, 1, 1000, 2000, 10, 0.001, 0, 0)"});
        row("ZX arc: Z first in pulses", false,
            {{"ArcZXR", {"10", "20", "30", "0", "5", "1", "0", "0"}}},
            {"MQN_ArcZXR(1, 1, 20000, 10000, 30000, 0, 5, 0.001, 0, 0)"});
        row("ZX arc: X first in millimetres", true,
            {{"ArcZXCEx", {"2", "0", "1", "0", "1", "5", "100", "9"}}},
            {"MQN_ArcZXCEx(1, 1, 2, 0, 0, 1, 1, 5, 100, 9, 0, 0)"});
        row("ArcYZCEx closed is sent as ArcYZC", false,
            {{"ArcYZCEx", {"1", "1", "0.5", "0.5", "0", "10", "1", "0"}}},
            {"MQN_ArcYZC(1, 1, 1000, 1000, 500, 500, 0, 10, 0.001, 0, 0)"});
        row("hexadecimal output words", false, {{"BufIo", {"GPO", "1F", "10"}}},
            {"MQN_BufIO(1, 1, 12, 31, 16, 0)"});
        row("an analogue value beyond 16 bits is 0", true, {{"BufDAEx", {"3", "40000"}}},
            {"MQN_BufDAEx(1, 1, 3, 0, 0)"});
        row("single-axis move", false, {{"BufMove", {"5", "-12.7", "2", "0.5", "1"}}},
            {"MQN_BufMove(1, 1, 5, -12, 2, 0.5, 1, 0)"});
        row("limits switch on only with look-ahead closed", true,
            {{"BufLmtsOn", {"4", "Lmts_negative"}}, {"BufLmtsOff", {"4", "Lmts_positive"}}},
            {"MQN_BufLmtsOff(1, 1, 4, 0, 0)"});
        row("stop input", false, {{"BufSetStopIo", {"2", "1", "GPI", "7"}}},
            {"MQN_BufSetStopIo(1, 1, 2, 1, 4, 7, 0)"});
        row("laser on and off", true, {{"BufLaserOnEx", {"2"}}, {"BufLaserOffEx", {""}}},
            {"MQN_BufLaserFollowModeEx(1, 1, 0, 0, 0, 0)",
             "MQN_BufLaserFollowRatioEx(1, 1, 0.2, 0, 96, 0, 0)", "MQN_BufLaserOnEx(1, 1, 0, 0)",
             "MQN_BufLaserOffEx(1, 1, 0, 0)", "MQN_BufLaserFollowOffEx(1, 1, 0, 0)"});
    }

    void rowsBecomeCalls()
    {
        QFETCH(bool, open);
        QFETCH(Rows, rows);
        QFETCH(QStringList, calls);

        ModalBoxAnswerer noBox(0); // a refused call would show one
        QCOMPARE(send(rows, open), calls);
    }

    void walkEndsAtANameItCannotSend_data()
    {
        QTest::addColumn<QString>("stopper");
        QTest::newRow("a name outside the catalogue") << "LnXYQ";
        QTest::newRow("BufLmtsOffEx") << "BufLmtsOffEx";
    }

    void walkEndsAtANameItCannotSend()
    {
        QFETCH(QString, stopper);
        ModalBoxAnswerer answerer; // adding a row without a row form says so
        const QStringList calls
            = send({{"BufDelay", {"5"}}, {stopper, {}}, {"BufDelay", {"6"}}}, false);
        QCOMPARE(calls, QStringList{"MQN_BufDelay(1, 1, 5, 0)"});
    }

    void failingRowsAreShownAndTheRestSent_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<int>("refusedLines");        // LnXY calls the controller refuses
        QTest::addColumn<double>("xFactorAfterInit"); // X's pulses and velocity factor; 0: as set
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("boxes");

        Rows lines;
        QStringList lineCalls;
        for (const char* x : {"1", "2", "3"}) {
            lines << qMakePair(QStringLiteral("LnXY"), QStringList{x, "0", "1", "1", "0", "0"});
            lineCalls
                << QStringLiteral("MQN_LnXY(1, 1, %1, 0, 1, 0.001, 0, 0)").arg(1000 * std::atoi(x));
        }
        QTest::newRow("a box for each refused call")
            << lines << 2 << 0.0 << lineCalls
            << QStringList(2, "LnXY = -7\r\n----No respond! DSP is busying!");
        QTest::newRow("a cell the row cannot use")
            << Rows{{"BufLmtsOff", {"4", "sideways"}}, {"BufDelay", {"9"}}} << 0 << 0.0
            << QStringList{"MQN_BufDelay(1, 1, 9, 0)"}
            << QStringList{"BufLmtsOff = 7\r\n----Parameter in command is error!"};
        // The host may change its table after Init.
        QTest::newRow("an axis whose factor became unusable")
            << Rows{{"LnXY", {"1", "2", "50", "1", "0"}}, {"BufDelay", {"9"}}} << 0
            << std::numeric_limits<double>::quiet_NaN() << QStringList{"MQN_BufDelay(1, 1, 9, 0)"}
            << QStringList{"LnXY = 7\r\n----Parameter in command is error!"};
        QTest::newRow("a speed that overflows through a usable factor")
            << Rows{{"LnXY", {"1", "2", "1e300", "1", "0"}}, {"BufDelay", {"9"}}} << 0 << 1e12
            << QStringList{"MQN_BufDelay(1, 1, 9, 0)"}
            << QStringList{"LnXY = 7\r\n----Parameter in command is error!"};
    }

    void failingRowsAreShownAndTheRestSent()
    {
        QFETCH(Rows, rows);
        QFETCH(int, refusedLines);
        QFETCH(double, xFactorAfterInit);
        QFETCH(QStringList, calls);
        QFETCH(QStringList, boxes);

        if (refusedLines > 0)
            rvsim_inject("MQN_LnXY", -7, refusedLines);
        auto changeXFactors = [this, xFactorAfterInit] { // X on profile 2
            host->axisTable.pulsesPerMm[0][1] = xFactorAfterInit;
            host->axisTable.velocityFactor[0][1] = xFactorAfterInit;
        };
        ModalBoxAnswerer answerer(int(boxes.size()));
        const bool changed = xFactorAfterInit != 0;
        QCOMPARE(send(rows, false, changed ? changeXFactors : std::function<void()>()), calls);
        QStringList texts;
        for (const ModalBoxAnswerer::Box& box : answerer.boxes())
            texts << box.text;
        QCOMPARE(texts, boxes);
    }

private:
    void openForm()
    {
        form = host->open();
        QVERIFY(form);
    }
    // The header texts (Qt::DisplayRole) or tips (Qt::ToolTipRole) of every column.
    QStringList headers(int role) const
    {
        auto* table = host->find<QTableWidget>(WidgetNames::commandTable);
        QStringList texts;
        for (int column = 0; column < table->columnCount(); ++column)
            texts << table->horizontalHeaderItem(column)->data(role).toString();
        return texts;
    }
    void titlechanged(const QString& type)
    {
        QVERIFY(QMetaObject::invokeMethod(form, "Titlechanged", Q_ARG(QString, type)));
    }
    // Starts with the rows in the given look-ahead mode; returns the calls up to the start.
    QStringList send(const Rows& rows, bool open, const std::function<void()>& afterInit = {});

    std::unique_ptr<TestHost> host;
    QWidget* form = nullptr;
};

QStringList TestBuffer::send(const Rows& rows, bool open, const std::function<void()>& afterInit)
{
    openForm();
    if (open)
        host->openLookAhead();
    QMetaObject::invokeMethod(form, "OnInitBtnClicked");
    if (afterInit)
        afterInit();
    for (const auto& [type, cells] : rows)
        AddTableRow(*host, form, type, cells);
    StartJournal();
    QMetaObject::invokeMethod(form, "OnStartBtnClicked");
    QStringList calls = CommandJournal();
    while (!calls.isEmpty()
           && (calls.last().startsWith("MQN_CrdStart") || calls.last().startsWith("MQN_CrdDataEx")))
        calls.removeLast();
    return calls;
}

QTEST_MAIN(TestBuffer)
#include "tst_buffer.moc"
