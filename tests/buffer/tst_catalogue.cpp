#include "buffer/CommandCatalogue.h"

#include <QTest>

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void everyNameIsKnown();
    void namesMatchExactly_data();
    void namesMatchExactly();
    void offeredTypes_data();
    void offeredTypes();
};

void TestCatalogue::everyNameIsKnown()
{
    const QStringList names = {
        "LnXY",      "LnXYG0",      "LnXYEx",     "LnXYG0Ex",     "LnXYZ",        "LnXYZG0",
        "LnXYZEx",   "LnXYZG0Ex",   "LnXYZA",     "LnXYZAG0",     "LnXYZAEx",     "LnXYZAG0Ex",
        "ArcXYR",    "ArcXYREx",    "ArcYZR",     "ArcYZREx",     "ArcZXR",       "ArcZXREx",
        "ArcXYC",    "ArcXYCEx",    "ArcZXC",     "ArcZXCEx",     "ArcYZC",       "ArcYZCEx",
        "BufIo",     "BufIoEx",     "BufDelay",   "BufDelayEx",   "BufDA",        "BufDAEx",
        "BufMove",   "BufMoveEx",   "BufGear",    "BufGearEx",    "BufSetStopIo", "BufSetStopIoEx",
        "BufLmtsOn", "BufLmtsOnEx", "BufLmtsOff", "BufLmtsOffEx", "BufLaserOnEx", "BufLaserOffEx"};
    QCOMPARE(names.size(), 42);
    for (const QString& name : names) {
        const CommandType* type = FindCommandType(name);
        QVERIFY2(type, qPrintable(name));
        QCOMPARE(type->name, name);
    }
}

void TestCatalogue::namesMatchExactly_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("lower case") << "lnxy";
    QTest::newRow("trailing blank") << "LnXY ";
    QTest::newRow("the initial header text") << "CrdID      ";
    QTest::newRow("empty") << "";
    QTest::newRow("plain laser name") << "BufLaserOn";
}

void TestCatalogue::namesMatchExactly()
{
    QFETCH(QString, name);
    QVERIFY(!FindCommandType(name));
}

void TestCatalogue::offeredTypes_data()
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
    QTest::newRow("d 1 open: buffer I/O with the laser") << 1 << true << openIo;
    QTest::newRow("d 2 closed") << 2 << false
                                << QStringList{"LnXY", "LnXYG0"} + closedMoves + closedIo;
    QTest::newRow("d 3 open") << 3 << true
                              << QStringList{"LnXYEx", "LnXYG0Ex", "LnXYZEx", "LnXYZG0Ex"}
                                     + openMoves + openIo;
    const QStringList four = QStringList{"LnXY", "LnXYG0", "LnXYZ", "LnXYZG0", "LnXYZA", "LnXYZAG0"}
                             + closedMoves + closedIo;
    QTest::newRow("d 4 closed") << 4 << false << four;
    QTest::newRow("d 5 offers what d 4 does") << 5 << false << four;
}

void TestCatalogue::offeredTypes()
{
    QFETCH(int, dimension);
    QFETCH(bool, open);
    QFETCH(QStringList, types);

    QCOMPARE(OfferedCommandTypes(dimension, open), types);
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
