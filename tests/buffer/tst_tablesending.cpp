// Sending the command table: which controller calls each row becomes, converted how.
#include "form/WidgetNames.h"
#include "module/HostSignal.h"
#include "rvsim.h"

#include "Journal.h"
#include "LinkedModule.h"
#include "ModalBoxAnswerer.h"
#include "TableRows.h"
#include "TestHost.h"

#include <QComboBox>
#include <QTableWidget>
#include <QTest>

#include <limits>
#include <memory>

namespace {

using Rows = QList<QPair<QString, QStringList>>;

} // namespace

class TestTableSending : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { host.reset(); }

    void rowsBecomeCalls_data();
    void rowsBecomeCalls();
    void walkEndsAtANameItCannotSend_data();
    void walkEndsAtANameItCannotSend();
    void oneBoxPerFailingRow();
    void refusedRowsAreShown();
    void rowOnAnAxisWithoutUsableFactorsIsRefused();

private:
    // Starts with the rows in the given look-ahead mode; returns the calls up to the start.
    QStringList send(const Rows& rows, bool open);

    std::unique_ptr<TestHost> host;
    QWidget* form = nullptr;
};

void TestTableSending::init()
{
    rvsim_reset();
    rvsim_use_manual_clock(1);
    host = LinkedTestHost();
    form = host->open();
}

QStringList TestTableSending::send(const Rows& rows, bool open)
{
    if (open)
        host->openLookAhead();
    QMetaObject::invokeMethod(form, "OnInitBtnClicked");
    for (const auto& [type, cells] : rows)
        AddTableRow(*host, form, type, cells);
    rvsim_journal_enable(1);
    rvsim_journal_clear();
    QMetaObject::invokeMethod(form, "OnStartBtnClicked");
    QStringList calls = CommandJournal();
    while (!calls.isEmpty()
           && (calls.last().startsWith("MQN_CrdStart") || calls.last().startsWith("MQN_CrdDataEx")))
        calls.removeLast();
    return calls;
}

void TestTableSending::rowsBecomeCalls_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QStringList>("calls");

    QTest::newRow("LnXY in pulses")
        << false << Rows{{"LnXY", {"12.3456", "-0.0019", "50", "0.5", "0", "3"}}}
        << QStringList{"MQN_LnXY(1, 1, 12345, -1, 50, 0.0005, 0, 0)"};
    QTest::newRow("LnXY with look-ahead open")
        << true << Rows{{"LnXY", {"12.3456", "-0.0019", "50", "0.5", "0", "3"}}}
        << QStringList{"MQN_LnXYEx(1, 1, 12.3456, -0.0019, 50, 0.5, 3, 0, 0)"};
    QTest::newRow("an Ex row with look-ahead closed sends velEnd 0")
        << false
        << Rows{{"LnXY", {"0", "0", "10", "1", "7", "1"}}, {"LnXYEx", {"1", "2", "10", "1", "4"}}}
        << QStringList{"MQN_LnXY(1, 1, 0, 0, 10, 0.001, 7, 0)",
                       "MQN_LnXY(1, 1, 1000, 2000, 10, 0.001, 0, 0)"};
    QTest::newRow("truncation toward zero")
        << false << Rows{{"LnXYZG0", {"0.0006", "-2.9996", "1", "10", "1", "0"}}}
        << QStringList{"MQN_LnXYZG0(1, 1, 0, -2999, 1000, 10, 0.001, 0)"};
    QTest::newRow("ArcXYC in pulses")
        << false << Rows{{"ArcXYC", {"10", "0", "5", "0", "1", "20", "0.2", "0", "0"}}}
        << QStringList{"MQN_ArcXYC(1, 1, 10000, 0, 5000, 0, 1, 20, 0.0002, 0, 0)"};
    QTest::newRow("ZX arc: Z first in pulses")
        << false << Rows{{"ArcZXR", {"10", "20", "30", "0", "5", "1", "0", "0"}}}
        << QStringList{"MQN_ArcZXR(1, 1, 20000, 10000, 30000, 0, 5, 0.001, 0, 0)"};
    QTest::newRow("ZX arc: X first in millimetres")
        << true << Rows{{"ArcZXCEx", {"2", "0", "1", "0", "1", "5", "100", "9"}}}
        << QStringList{"MQN_ArcZXCEx(1, 1, 2, 0, 0, 1, 1, 5, 100, 9, 0, 0)"};
    QTest::newRow("ArcYZCEx closed is sent as ArcYZC")
        << false << Rows{{"ArcYZCEx", {"1", "1", "0.5", "0.5", "0", "10", "1", "0"}}}
        << QStringList{"MQN_ArcYZC(1, 1, 1000, 1000, 500, 500, 0, 10, 0.001, 0, 0)"};
    QTest::newRow("hexadecimal output words") << false << Rows{{"BufIo", {"GPO", "1F", "10"}}}
                                              << QStringList{"MQN_BufIO(1, 1, 12, 31, 16, 0)"};
    QTest::newRow("an analogue value beyond 16 bits is 0")
        << true << Rows{{"BufDAEx", {"3", "40000"}}} << QStringList{"MQN_BufDAEx(1, 1, 3, 0, 0)"};
    QTest::newRow("single-axis move") << false << Rows{{"BufMove", {"5", "-12.7", "2", "0.5", "1"}}}
                                      << QStringList{"MQN_BufMove(1, 1, 5, -12, 2, 0.5, 1, 0)"};
    QTest::newRow("delay and gear in look-ahead")
        << true << Rows{{"BufDelayEx", {"250"}}, {"BufGearEx", {"2", "1.5"}}}
        << QStringList{"MQN_BufDelayEx(1, 1, 250, 0)", "MQN_BufGearEx(1, 1, 2, 1.5, 0)"};
    QTest::newRow("limits switch on only with look-ahead closed")
        << true
        << Rows{{"BufLmtsOn", {"4", "Lmts_negative"}}, {"BufLmtsOff", {"4", "Lmts_positive"}}}
        << QStringList{"MQN_BufLmtsOff(1, 1, 4, 0, 0)"};
    QTest::newRow("stop input") << false << Rows{{"BufSetStopIo", {"2", "1", "GPI", "7"}}}
                                << QStringList{"MQN_BufSetStopIo(1, 1, 2, 1, 4, 7, 0)"};
    QTest::newRow("laser on and off")
        << true << Rows{{"BufLaserOnEx", {"2"}}, {"BufLaserOffEx", {""}}}
        << QStringList{"MQN_BufLaserFollowModeEx(1, 1, 0, 0, 0, 0)",
                       "MQN_BufLaserFollowRatioEx(1, 1, 0.2, 0, 96, 0, 0)",
                       "MQN_BufLaserOnEx(1, 1, 0, 0)", "MQN_BufLaserOffEx(1, 1, 0, 0)",
                       "MQN_BufLaserFollowOffEx(1, 1, 0, 0)"};
}

void TestTableSending::rowsBecomeCalls()
{
    QFETCH(bool, open);
    QFETCH(Rows, rows);
    QFETCH(QStringList, calls);

    ModalBoxAnswerer noBox(0); // a refused call would show one
    QCOMPARE(send(rows, open), calls);
}

void TestTableSending::walkEndsAtANameItCannotSend_data()
{
    QTest::addColumn<QString>("stopper");
    QTest::newRow("a name outside the catalogue") << "LnXYQ";
    QTest::newRow("BufLmtsOffEx") << "BufLmtsOffEx";
    QTest::newRow("BufSetStopIoEx") << "BufSetStopIoEx";
}

void TestTableSending::walkEndsAtANameItCannotSend()
{
    QFETCH(QString, stopper);
    ModalBoxAnswerer answerer; // adding a row without a row form says so
    const QStringList calls
        = send({{"BufDelay", {"5"}}, {stopper, {}}, {"BufDelay", {"6"}}}, false);
    QCOMPARE(calls, QStringList{"MQN_BufDelay(1, 1, 5, 0)"});
}

void TestTableSending::oneBoxPerFailingRow()
{
    rvsim_inject("MQN_LnXY", -7, 2);
    ModalBoxAnswerer answerer(2);
    const QStringList calls = send({{"LnXY", {"1", "0", "1", "1", "0", "0"}},
                                    {"LnXY", {"2", "0", "1", "1", "0", "0"}},
                                    {"LnXY", {"3", "0", "1", "1", "0", "0"}}},
                                   false);
    QCOMPARE(calls.size(), 3);
    QCOMPARE(answerer.boxes().at(0).text,
             QStringLiteral("LnXY = -7\r\n----No respond! DSP is busying!"));
}

void TestTableSending::refusedRowsAreShown()
{
    ModalBoxAnswerer answerer;
    const QStringList calls = send({{"BufLmtsOff", {"4", "sideways"}}, {"BufDelay", {"9"}}}, false);
    QCOMPARE(calls, QStringList{"MQN_BufDelay(1, 1, 9, 0)"});
    QCOMPARE(answerer.first().text,
             QStringLiteral("BufLmtsOff = 7\r\n----Parameter in command is error!"));
}

// The host may change its table after Init: a row on an axis whose factor has become unusable
// is refused, and the rows on other axes are still sent.
void TestTableSending::rowOnAnAxisWithoutUsableFactorsIsRefused()
{
    QMetaObject::invokeMethod(form, "OnInitBtnClicked");
    AddTableRow(*host, form, "LnXY", {"1", "2", "50", "1", "0"});
    AddTableRow(*host, form, "BufDelay", {"9"});
    host->axisTable.pulsesPerMm[0][1] = std::numeric_limits<double>::quiet_NaN(); // X: profile 2
    rvsim_journal_enable(1);
    rvsim_journal_clear();
    ModalBoxAnswerer answerer;
    QMetaObject::invokeMethod(form, "OnStartBtnClicked");
    QCOMPARE(CommandJournal().mid(0, 1), QStringList{"MQN_BufDelay(1, 1, 9, 0)"});
    QCOMPARE(answerer.first().text, QStringLiteral("LnXY = 7\r\n----Parameter in command is error!"));
}

QTEST_MAIN(TestTableSending)
#include "tst_tablesending.moc"
