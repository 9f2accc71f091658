// The command table's header labels and unit tips follow the type being worked on, and the
// type choice follows the dimension and look-ahead mode.
#include "form/WidgetNames.h"
#include "module/HostSignal.h"
#include "rvsim.h"

#include "LinkedModule.h"
#include "TestHost.h"

#include <QComboBox>
#include <QTableWidget>
#include <QTest>

#include <memory>

class TestTableHeaders : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { host.reset(); }

    void labelsAndTips_data();
    void labelsAndTips();
    void shorterArcKeepsTheLaterLabels();
    void tipsOfOtherColumnsStay();
    void unknownTypeChangesNothing();
    void typeChoiceFollowsDimensionAndMode();
    void choosingATypeRelabels();

private:
    QStringList labels() const;
    QStringList tips() const;
    void titlechanged(const QString& type)
    {
        QVERIFY(QMetaObject::invokeMethod(form, "Titlechanged", Q_ARG(QString, type)));
    }
    void choose(const char* name, const QString& text)
    {
        auto* combo = host->find<QComboBox>(name);
        const int index = combo->findText(text);
        QVERIFY2(index >= 0, qPrintable(text));
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    std::unique_ptr<TestHost> host;
    QWidget* form = nullptr;
    QTableWidget* table = nullptr;
};

void TestTableHeaders::init()
{
    rvsim_reset();
    host = LinkedTestHost();
}

QStringList TestTableHeaders::labels() const
{
    QStringList texts;
    for (int column = 0; column < table->columnCount(); ++column)
        texts << table->horizontalHeaderItem(column)->text();
    return texts;
}

QStringList TestTableHeaders::tips() const
{
    QStringList texts;
    for (int column = 0; column < table->columnCount(); ++column)
        texts << table->horizontalHeaderItem(column)->toolTip();
    return texts;
}

void TestTableHeaders::labelsAndTips_data()
{
    QTest::addColumn<int>("useMmUnits");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QStringList>("tips");

    QTest::newRow("LnXYZA in pulses")
        << 0 << "LnXYZA"
        << QStringList{"CrdID", "X", "Y", "Z", "A", "synVel", "synAcc", "velEnd", "SegNum", ""}
        << QStringList{"",         "pulse",      "pulse",    "pulse", "pulse",
                       "pulse/ms", "pulse/ms^2", "pulse/ms", "",      ""};
    QTest::newRow("ArcXYC in millimetres")
        << 1 << "ArcXYC" << QStringList{"CrdID",     "X",      "Y",      "xCenter", "yCenter",
                                        "circleDir", "synVel", "synAcc", "velEnd",  "SegNum"}
        << QStringList{"", "mm", "mm", "mm", "mm", "", "mm/s", "mm/s^2", "mm/s", ""};
    QTest::newRow("BufDelay tips milliseconds")
        << 0 << "BufDelay" << QStringList{"BufID", "delayTime", "", "", "", "", "", "", "", ""}
        << QStringList{"", "ms", "", "", "", "", "", "", "", ""};
    QTest::newRow("BufMove tips only pos")
        << 1 << "BufMoveEx"
        << QStringList{"BufID", "moveAxis", "pos", "vel", "acc", "modal", "", "", "", ""}
        << QStringList{"", "", "mm", "", "", "", "", "", "", ""};
}

void TestTableHeaders::labelsAndTips()
{
    QFETCH(int, useMmUnits);
    QFETCH(QString, type);
    QFETCH(QStringList, labels);
    QFETCH(QStringList, tips);

    host->axisTable.useMmUnits = uint8_t(useMmUnits);
    form = host->open();
    table = host->find<QTableWidget>(WidgetNames::commandTable);
    for (int column = 0; column < table->columnCount(); ++column)
        table->horizontalHeaderItem(column)->setToolTip(QString());
    titlechanged(type);
    QCOMPARE(this->labels(), labels);
    QCOMPARE(this->tips(), tips);
}

void TestTableHeaders::shorterArcKeepsTheLaterLabels()
{
    form = host->open();
    table = host->find<QTableWidget>(WidgetNames::commandTable);
    titlechanged(QStringLiteral("ArcXYC"));
    titlechanged(QStringLiteral("ArcXYREx"));
    QCOMPARE(labels(), (QStringList{"CrdID", "X", "Y", "radius", "circleDir", "synVel", "synAcc",
                                    "SegNum", "velEnd", "SegNum"}));
}

void TestTableHeaders::tipsOfOtherColumnsStay()
{
    form = host->open();
    table = host->find<QTableWidget>(WidgetNames::commandTable);
    titlechanged(QStringLiteral("LnXY"));
    titlechanged(QStringLiteral("BufIo"));
    QCOMPARE(tips().mid(1, 5), (QStringList{"mm", "mm", "mm/s", "mm/s^2", "mm/s"}));
    QCOMPARE(labels().mid(0, 4), (QStringList{"BufID", "doType", "doMask", "doValue"}));
}

void TestTableHeaders::unknownTypeChangesNothing()
{
    form = host->open();
    table = host->find<QTableWidget>(WidgetNames::commandTable);
    const QStringList before = labels();
    titlechanged(QStringLiteral("NoSuchType"));
    titlechanged(QString());
    QCOMPARE(labels(), before);
}

void TestTableHeaders::typeChoiceFollowsDimensionAndMode()
{
    form = host->open();
    auto* types = host->find<QComboBox>(WidgetNames::bufDataTypeCombo);
    auto offered = [types] {
        QStringList items;
        for (int i = 0; i < types->count(); ++i)
            items << types->itemText(i);
        return items;
    };
    choose(WidgetNames::dimensionCombo, QStringLiteral("1"));
    QCOMPARE(offered(), (QStringList{"BufIo", "BufDelay", "BufDA", "BufSetStopIo", "BufLmtsOn",
                                     "BufLmtsOff"}));
    choose(WidgetNames::lookAheadModeCombo, QStringLiteral("Open"));
    QCOMPARE(offered().size(), 8);
    QCOMPARE(offered().constFirst(), QStringLiteral("BufIoEx"));
    choose(WidgetNames::dimensionCombo, QStringLiteral("2"));
    QCOMPARE(offered().mid(0, 3), (QStringList{"LnXYEx", "LnXYG0Ex", "ArcXYREx"}));
    QCOMPARE(types->currentText(), QStringLiteral("LnXYEx"));
}

void TestTableHeaders::choosingATypeRelabels()
{
    form = host->open();
    table = host->find<QTableWidget>(WidgetNames::commandTable);
    choose(WidgetNames::bufDataTypeCombo, QStringLiteral("BufGear"));
    QCOMPARE(labels().mid(0, 3), (QStringList{"BufID", "gearAxis", "pos"}));
}

QTEST_MAIN(TestTableHeaders)
#include "tst_tableheaders.moc"
