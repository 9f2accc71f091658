// Adding, seeding, deleting and clearing command-table rows, with their editors.
#include "form/MyLineEdit.h"
#include "form/WidgetNames.h"
#include "module/HostSignal.h"
#include "rvsim.h"

#include "Journal.h"
#include "LinkedModule.h"
#include "ModalBoxAnswerer.h"
#include "TestHost.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>

#include <memory>

class TestTableEditing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { host.reset(); }

    void firstRowOfAnEmptyTable();
    void newRowsGoBelowTheCurrentRow();
    void deleteRemovesTheCurrentRowOnly();
    void newRowProposesTheValuesOfTheNearestRowOfItsType();
    void seedingSkipsOtherTypes();
    void seededSegmentNumberIsRead16Bit();
    void rowCells_data();
    void rowCells();
    void namesWithoutARowFormAreRefused_data();
    void namesWithoutARowFormAreRefused();
    void editorValidators();
    void focusOnAnEditorRelabelsTheHeader();
    void clearAll();

private:
    void add(const QString& type);
    QString text(int row, int column) const;
    QStringList types() const;

    std::unique_ptr<TestHost> host;
    QWidget* form = nullptr;
    QTableWidget* table = nullptr;
};

void TestTableEditing::init()
{
    rvsim_reset();
    host = LinkedTestHost();
    form = host->open();
    table = host->find<QTableWidget>(WidgetNames::commandTable);
    rvsim_journal_enable(1);
    rvsim_journal_clear();
}

void TestTableEditing::add(const QString& type)
{
    auto* choice = host->find<QComboBox>(WidgetNames::bufDataTypeCombo);
    choice->clear();
    choice->addItem(type);
    QVERIFY(QMetaObject::invokeMethod(form, "OnAddDataBtnClicked"));
}

QString TestTableEditing::text(int row, int column) const
{
    if (auto* editor = qobject_cast<QLineEdit*>(table->cellWidget(row, column)))
        return editor->text();
    if (auto* choice = qobject_cast<QComboBox*>(table->cellWidget(row, column)))
        return QStringLiteral("choice:") + choice->currentText();
    const QTableWidgetItem* item = table->item(row, column);
    return item ? QStringLiteral("item:") + item->text() : QStringLiteral("-");
}

QStringList TestTableEditing::types() const
{
    QStringList names;
    for (int row = 0; row < table->rowCount(); ++row)
        names << table->item(row, 0)->text();
    return names;
}

void TestTableEditing::firstRowOfAnEmptyTable()
{
    auto* program = host->find<QTextEdit>(WidgetNames::programTextView);
    program->setPlainText(QStringLiteral("G1 X1"));
    program->show();
    table->hide();
    QVERIFY(QMetaObject::invokeMethod(form, "OnAddDataBtnClicked"));
    QCOMPARE(types(), QStringList{"LnXY"});
    QVERIFY(!table->isHidden());
    QVERIFY(program->isHidden());
    QVERIFY(program->toPlainText().isEmpty());
    QStringList cells;
    for (int column = 1; column < 8; ++column)
        cells << text(0, column);
    QCOMPARE(cells, (QStringList{"0.000", "0.000", "0.000", "0.000", "0.000", "0", "-"}));
}

void TestTableEditing::newRowsGoBelowTheCurrentRow()
{
    for (const char* type : {"BufDelay", "BufGear", "BufMove"})
        add(QLatin1String(type));
    table->setCurrentCell(0, 0);
    for (const char* type : {"LnXY", "ArcXYC", "BufIo"})
        add(QLatin1String(type));
    QCOMPARE(types(), (QStringList{"BufDelay", "BufIo", "ArcXYC", "LnXY", "BufGear", "BufMove"}));
}

void TestTableEditing::deleteRemovesTheCurrentRowOnly()
{
    add(QStringLiteral("BufDelay"));
    add(QStringLiteral("BufGear"));
    table->setCurrentCell(-1, -1);
    QVERIFY(QMetaObject::invokeMethod(form, "OnDeleteDataBtnClicked"));
    QCOMPARE(table->rowCount(), 2);
    table->setCurrentCell(0, 0);
    QVERIFY(QMetaObject::invokeMethod(form, "OnDeleteDataBtnClicked"));
    QCOMPARE(types(), QStringList{"BufGear"});
}

void TestTableEditing::newRowProposesTheValuesOfTheNearestRowOfItsType()
{
    add(QStringLiteral("LnXY"));
    qobject_cast<QLineEdit*>(table->cellWidget(0, 1))->setText(QStringLiteral("5"));
    add(QStringLiteral("LnXY"));
    QCOMPARE(text(1, 1), QStringLiteral("5.000"));
    add(QStringLiteral("ArcXYR"));
    QStringList cells;
    for (int column = 1; column <= 8; ++column)
        cells << text(2, column);
    QCOMPARE(cells, (QStringList{"0.000", "0.000", "0.000", "0", "0.000", "0.000", "0.000", "0"}));
}

void TestTableEditing::seedingSkipsOtherTypes()
{
    add(QStringLiteral("LnXY"));
    qobject_cast<QLineEdit*>(table->cellWidget(0, 1))->setText(QStringLiteral("1"));
    add(QStringLiteral("BufDelay"));
    add(QStringLiteral("LnXY"));
    QCOMPARE(text(2, 1), QStringLiteral("1.000"));
}

void TestTableEditing::seededSegmentNumberIsRead16Bit()
{
    add(QStringLiteral("LnXYG0"));
    qobject_cast<QLineEdit*>(table->cellWidget(0, 5))->setText(QStringLiteral("40000"));
    add(QStringLiteral("LnXYG0"));
    QCOMPARE(text(1, 5), QStringLiteral("0"));
}

void TestTableEditing::rowCells_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("cells");

    QTest::newRow("BufIo: output choice and hexadecimal items")
        << "BufIo" << QStringList{"choice:ENABLE", "item:0", "item:0", "-"};
    QTest::newRow("BufDA: channel choice and value")
        << "BufDAEx" << QStringList{"choice:1", "0", "-"};
    QTest::newRow("BufMove") << "BufMove"
                             << QStringList{"choice:1", "0.000", "0.000", "0.000", "0", "-"};
    QTest::newRow("BufDelay gets no choice") << "BufDelay" << QStringList{"0", "-"};
    QTest::newRow("BufSetStopIo gets its axis choice only")
        << "BufSetStopIo" << QStringList{"choice:1", "-", "-"};
    QTest::newRow("BufLmtsOn gets its axis choice only")
        << "BufLmtsOn" << QStringList{"choice:1", "-"};
    QTest::newRow("laser channel starts at 1") << "BufLaserOnEx" << QStringList{"1", "-"};
}

void TestTableEditing::rowCells()
{
    QFETCH(QString, type);
    QFETCH(QStringList, cells);

    add(type);
    QStringList actual;
    for (int column = 1; column <= cells.size(); ++column)
        actual << text(0, column);
    QCOMPARE(actual, cells);
    if (auto* choice = qobject_cast<QComboBox*>(table->cellWidget(0, 1)); choice && type != "BufIo")
        QCOMPARE(choice->count(), 12);
}

void TestTableEditing::namesWithoutARowFormAreRefused_data()
{
    QTest::addColumn<QString>("type");
    QTest::newRow("BufLmtsOnEx") << "BufLmtsOnEx";
    QTest::newRow("BufLmtsOffEx") << "BufLmtsOffEx";
    QTest::newRow("BufSetStopIoEx") << "BufSetStopIoEx";
    QTest::newRow("a name outside the catalogue") << "LnXYZB";
}

void TestTableEditing::namesWithoutARowFormAreRefused()
{
    QFETCH(QString, type);
    ModalBoxAnswerer answerer;
    add(type);
    QCOMPARE(answerer.first().text,
             QStringLiteral("CreateNewColumn = 7\r\n----Parameter in command is error!"));
    QCOMPARE(types(), QStringList{type});
}

void TestTableEditing::editorValidators()
{
    add(QStringLiteral("ArcYZR"));
    add(QStringLiteral("ArcXYR"));
    auto state = [this](int row, int column, QString input) {
        int position = 0;
        return qobject_cast<QLineEdit*>(table->cellWidget(row, column))
            ->validator()
            ->validate(input, position);
    };
    QCOMPARE(state(0, 4, "-1"), QValidator::Invalid); // YZ by radius: 0 or 1
    QCOMPARE(state(1, 4, "-1"), QValidator::Acceptable);
    QCOMPARE(state(1, 8, "2000000"), QValidator::Acceptable);
    QCOMPARE(state(1, 8, "20000000"), QValidator::Invalid);
    QCOMPARE(state(1, 1, "99999999"), QValidator::Invalid);
    QCOMPARE(state(1, 5, "-1999999.5"), QValidator::Acceptable);
}

void TestTableEditing::focusOnAnEditorRelabelsTheHeader()
{
    add(QStringLiteral("LnXY"));
    add(QStringLiteral("BufDelay"));
    QVERIFY(QMetaObject::invokeMethod(form, "Titlechanged", Q_ARG(QString, "LnXY")));
    QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("X"));
    auto* delay = qobject_cast<MyLineEdit*>(table->cellWidget(1, 1));
    QVERIFY(delay);
    QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(delay, &focus);
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("BufID"));
    QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("delayTime"));

    table->setCurrentCell(0, 0);
    emit table->itemClicked(table->item(0, 0));
    QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("X"));
}

void TestTableEditing::clearAll()
{
    auto* pause = host->find<QPushButton>(WidgetNames::pauseButton);
    auto* restart = host->find<QPushButton>(WidgetNames::restartButton);
    pause->hide();
    restart->show();
    QVERIFY(QMetaObject::invokeMethod(form, "OnDeleteAllDataBtnClicked"));
    QVERIFY(CommandJournal().isEmpty());
    QVERIFY(!pause->isHidden());
    QVERIFY(restart->isHidden());

    add(QStringLiteral("BufDelay"));
    add(QStringLiteral("BufGear"));
    rvsim_journal_clear();
    QVERIFY(QMetaObject::invokeMethod(form, "OnDeleteAllDataBtnClicked"));
    QCOMPARE(table->rowCount(), 0);
    QCOMPARE(CommandJournal(), QStringList{"MQN_CrdClear(1, 1, 0)"});
    QVERIFY(TestHost::Lines().isEmpty());
}

QTEST_MAIN(TestTableEditing)
#include "tst_tableediting.moc"
