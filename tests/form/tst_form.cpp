// The window's own widgets (the number validator, the program view's layout) and the editing of
// command-table rows.
#include "form/MyDoubleValidator.h"
#include "form/MyLineEdit.h"
#include "form/ProgramTextLayout.h"

#include "WindowTest.h"

#include <QApplication>
#include <QFocusEvent>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

namespace {

// A change to a document: where, how many characters go, what comes in their place.
struct TextEdit
{
    int position;
    int removed;
    QString inserted;
};
using TextEdits = QList<TextEdit>;

void apply(QTextDocument& document, const TextEdit& edit)
{
    QTextCursor cursor(&document);
    cursor.setPosition(edit.position);
    cursor.setPosition(edit.position + edit.removed, QTextCursor::KeepAnchor);
    cursor.insertText(edit.inserted);
}

} // namespace

class TestForm : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        rvsim_reset();
        host = LinkedTestHost();
        form = host->open();
        table = host->find<QTableWidget>(WidgetNames::commandTable);
        StartJournal();
    }

    void cleanup() { host.reset(); }

    void validator_data()
    {
        QTest::addColumn<double>("bottom");
        QTest::addColumn<double>("top");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QValidator::State>("state");

        const auto row = [](const char* name, const char* input, QValidator::State state,
                            double bottom = -2000000, double top = 2000000) {
            QTest::newRow(name) << bottom << top << QString(input) << state;
        };
        row("empty is intermediate", "", QValidator::Intermediate);
        row("minus sign alone is intermediate", "-", QValidator::Intermediate);
        row("eleven digits after the point", "1.01234567891", QValidator::Invalid);
        row("top itself is refused", "2000000", QValidator::Invalid);
        row("bottom itself is refused", "-2000000", QValidator::Invalid);
        row("letters with a minus anywhere are intermediate", "ab-c", QValidator::Intermediate);
        row("comma is no decimal point", "1,5", QValidator::Invalid);
        row("lone zero under bottom 0.0001", "0", QValidator::Invalid, 0.0001, 10000.0);
        row("out of range is never intermediate", "-3", QValidator::Invalid, 0.0001, 10000.0);
        row("decimals of the base are not enforced", "1.123456", QValidator::Acceptable, 0.0001,
            10000.0);
    }

    void validator()
    {
        QFETCH(double, bottom);
        QFETCH(double, top);
        QFETCH(QString, input);
        QFETCH(QValidator::State, state);

        MyDoubleValidator validator(bottom, top, 4, nullptr);
        int position = 0;
        QCOMPARE(validator.validate(input, position), state);
    }

    void programRowsFollowTheText_data()
    {
        const QString separator(QChar::LineSeparator);
        QTest::addColumn<QString>("text");
        QTest::addColumn<TextEdits>("edits");
        QTest::newRow("a paragraph a line") << "G1 X1\nG1 X22\n\nM30" << TextEdits{};
        QTest::newRow("line separators take rows of their own")
            << "a" + separator + "bb\nc" + separator + separator + "d\ne" << TextEdits{};
        QTest::newRow("lines inserted in the middle")
            << "one\ntwo\nthree" << TextEdits{{5, 0, "x\ny" + separator + "z\n"}};
        QTest::newRow("lines inserted before a paragraph of two lines")
            << "a\nb" + separator + "c\nd" << TextEdits{{0, 0, "x\ny\n"}, {4, 2, ""}};
        QTest::newRow("a line shortened after it was laid out")
            << "G1 X100.000\nG1 Y2" << TextEdits{{3, 8, ""}, {0, 0, "N1 "}};
        QTest::newRow("separators joined and split again")
            << "a" + separator + "b\nc" + separator + "d\ne"
            << TextEdits{{3, 1, ""}, {1, 1, "\n"}, {0, 0, separator}};
    }

    void programRowsFollowTheText()
    {
        QFETCH(QString, text);
        QFETCH(TextEdits, edits);
        QTextDocument document;
        auto* layout = new ProgramTextLayout(&document);
        document.setDocumentLayout(layout);
        document.setPlainText(text);
        const qreal margin = document.documentMargin();
        const qreal row = QFontMetricsF(document.defaultFont()).height();
        auto lineStarts = [&document] {
            QList<int> starts{0};
            const QString plain = document.toPlainText();
            for (int i = 0; i < plain.size(); ++i) {
                if (plain[i] == u'\n')
                    starts << i + 1;
            }
            return starts << plain.size() + 1;
        };
        auto checkRows = [&] {
            const QList<int> starts = lineStarts();
            const int rows = int(starts.size()) - 1;
            QCOMPARE(layout->documentSize().height(), rows * row + 2 * margin);
            for (int line = 0; line < rows; ++line) {
                const qreal y = margin + (line + 0.5) * row;
                QCOMPARE(layout->hitTest({0, y}, Qt::FuzzyHit), starts[line]);
                QCOMPARE(layout->hitTest({1e6, y}, Qt::FuzzyHit), starts[line + 1] - 1);
            }
            for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
                const int firstLine
                    = int(std::upper_bound(starts.begin(), starts.end(), block.position())
                          - starts.begin())
                      - 1;
                QCOMPARE(layout->blockBoundingRect(block).top(), margin + firstLine * row);
            }
        };
        checkRows();
        for (const TextEdit& edit : edits) {
            apply(document, edit);
            checkRows();
        }
    }

    void programViewDrawsTheSelectedRow()
    {
        QTextEdit view;
        view.document()->setDocumentLayout(new ProgramTextLayout(view.document()));
        view.setPlainText(QStringLiteral("G1 X1\nG1 X2\nG1 X3"));
        view.resize(200, 120);
        QTextCursor second(view.document()->findBlockByNumber(1));
        second.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        view.setTextCursor(second);
        const QImage image = view.viewport()->grab().toImage();
        const QColor highlight = view.palette().color(QPalette::Highlight);
        int top = image.height(), bottom = -1;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) == highlight) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        const qreal margin = view.document()->documentMargin();
        const qreal row = QFontMetricsF(view.document()->defaultFont()).height();
        QVERIFY2(bottom >= 0, "no selection drawn");
        QVERIFY(top >= std::floor(margin + row) && bottom <= std::ceil(margin + 2 * row));
    }

    void firstRowOfAnEmptyTable()
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
        QCOMPARE(cells(0, 7), (QStringList{"0.000", "0.000", "0.000", "0.000", "0.000", "0", "-"}));
    }

    void newRowsGoBelowTheCurrentRow()
    {
        for (const char* type : {"BufDelay", "BufGear", "BufMove"})
            add(QLatin1String(type));
        table->setCurrentCell(0, 0);
        for (const char* type : {"LnXY", "ArcXYC", "BufIo"})
            add(QLatin1String(type));
        QCOMPARE(types(),
                 (QStringList{"BufDelay", "BufIo", "ArcXYC", "LnXY", "BufGear", "BufMove"}));
    }

    void deleteRemovesTheCurrentRowOnly()
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

    // Rows of other types are skipped; the segment number is read as a 16-bit number.
    void newRowProposesTheValuesOfTheNearestRowOfItsType()
    {
        add(QStringLiteral("LnXYG0"));
        qobject_cast<QLineEdit*>(table->cellWidget(0, 1))->setText(QStringLiteral("5"));
        qobject_cast<QLineEdit*>(table->cellWidget(0, 5))->setText(QStringLiteral("40000"));
        add(QStringLiteral("BufDelay"));
        add(QStringLiteral("LnXYG0"));
        QCOMPARE(cells(2, 5).at(0), QStringLiteral("5.000"));
        QCOMPARE(cells(2, 5).at(4), QStringLiteral("0"));
        add(QStringLiteral("ArcXYR"));
        QCOMPARE(cells(3, 8),
                 (QStringList{"0.000", "0.000", "0.000", "0", "0.000", "0.000", "0.000", "0"}));
    }

    void focusOnAnEditorRelabelsTheHeader()
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

    void clearAll()
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

    // Every button of the window reaches its slot when clicked, as an operator clicks it.
    void buttonsReachTheirSlots()
    {
        auto button = [this](const char* name) {
            return host->find<QPushButton>(name);
        };
        const auto clicked = [&button](const char* name) {
            StartJournal();
            button(name)->click();
            return Journal();
        };
        const auto called = [](const QStringList& calls, const char* operation) {
            return !calls.filter(QLatin1String(operation)).isEmpty();
        };

        QVERIFY(called(clicked(WidgetNames::initCrdButton), "MQN_SetCrdPrm"));
        QVERIFY(called(clicked(WidgetNames::getLookAheadPrmButton), "MQN_GetLookAheadParaEx"));

        button(WidgetNames::addDataButton)->click();
        button(WidgetNames::addDataButton)->click();
        QCOMPARE(table->rowCount(), 2);
        table->setCurrentCell(0, 0);
        button(WidgetNames::deleteDataButton)->click();
        QCOMPARE(table->rowCount(), 1);
        // A click on a row's type relabels the headers for it.
        QVERIFY(QMetaObject::invokeMethod(form, "Titlechanged", Q_ARG(QString, "BufDelay")));
        const QRect typeCell = table->visualItemRect(table->item(0, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, typeCell.center());
        QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("X"));
        button(WidgetNames::addDataButton)->click();
        button(WidgetNames::clearAllButton)->click();
        QCOMPARE(table->rowCount(), 0);

        for (const char* path : {WidgetNames::programPathEdit, WidgetNames::ilcPathEdit}) {
            host->find<QLineEdit>(path)->setText(QStringLiteral("chosen before"));
            QTimer::singleShot(0, form, [] { QApplication::activeModalWidget()->close(); });
            button(path == WidgetNames::programPathEdit ? WidgetNames::openFileButton
                                                        : WidgetNames::openIlcFileButton)
                ->click();
            QCOMPARE(host->find<QLineEdit>(path)->text(), QString()); // the dialog was cancelled
        }
        {
            ModalBoxAnswerer answerer;
            button(WidgetNames::loadCrdFileButton)->click();
            QCOMPARE(answerer.first().text, QStringLiteral("File path can not be empty !"));
        }

        AddTableRow(*host, form, "LnXY", {"1000", "0", "1", "1", "0"});
        rvsim_use_manual_clock(1);
        QVERIFY(called(clicked(WidgetNames::startCrdButton), "MQN_CrdStart"));
        QTRY_VERIFY(button(WidgetNames::pauseButton)->isEnabled()); // the status timer saw the run
        QVERIFY(called(clicked(WidgetNames::pauseButton), "MQN_Stop"));
        QVERIFY(called(clicked(WidgetNames::restartButton), "MQN_CrdStart"));
    }

private:
    void add(const QString& type) { QVERIFY(AddRowOfType(*host, form, type)); }
    QStringList cells(int row, int count) const { return TableRowCells(*host, row, count); }
    QStringList types() const { return TableRowTypes(*host); }

    std::unique_ptr<TestHost> host;
    QWidget* form = nullptr;
    QTableWidget* table = nullptr;
};

QTEST_MAIN(TestForm)
#include "tst_form.moc"
