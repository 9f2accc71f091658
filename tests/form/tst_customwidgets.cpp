#include "form/MyDoubleValidator.h"
#include "form/MyLineEdit.h"
#include "form/MyPushButton.h"
#include "form/ProgramTextLayout.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {
const QString baseStyle = QStringLiteral("QPushButton{background:#f0f0f0;Margin:2px;}");
const QString blueHover
    = QStringLiteral("QPushButton:hover{background-color:#00a0fe;color:#ffffff}");
const QString radius3 = QStringLiteral("QPushButton{border-radius:3px;}");
const QString greyBorder = QStringLiteral("QPushButton{border:1px solid #cccccc;}");

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

QColor iconColour(const QPushButton& button)
{
    return button.icon().pixmap(QSize(8, 8)).toImage().pixelColor(4, 4);
}
} // namespace

class TestCustomWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void validator_data();
    void validator();
    void validatorLeavesInputAlone();
    void validatorHasNoMetaObjectOfItsOwn();

    void buttonStyle_data();
    void buttonStyle();
    void buttonSwapsIconWhileHovered();
    void buttonWithoutHoverFlagKeepsItsIcon();
    void buttonWithMissingIconHasAnEmptyIcon();

    void lineEditAnnouncesEachFocusIn_data();
    void lineEditAnnouncesEachFocusIn();
    void lineEditAnnouncesRealFocusChanges();

    void programRowsFollowTheText_data();
    void programRowsFollowTheText();
    void programViewDrawsTheSelectedRow();

private:
    QTemporaryDir iconDir;
    QString redIcon;
    QString blueIcon;
};

void TestCustomWidgets::initTestCase()
{
    QVERIFY(iconDir.isValid());
    redIcon = iconDir.filePath(QStringLiteral("plus.png"));
    blueIcon = iconDir.filePath(QStringLiteral("plus-w.png"));
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(redIcon));
    image.fill(Qt::blue);
    QVERIFY(image.save(blueIcon));
}

void TestCustomWidgets::validator_data()
{
    QTest::addColumn<double>("bottom");
    QTest::addColumn<double>("top");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QValidator::State>("state");

    const double b = -2000000, t = 2000000;
    QTest::newRow("empty is intermediate") << b << t << "" << QValidator::Intermediate;
    QTest::newRow("minus sign alone is intermediate") << b << t << "-" << QValidator::Intermediate;
    QTest::newRow("negative number in range") << b << t << "-5" << QValidator::Acceptable;
    QTest::newRow("ten digits after the point")
        << b << t << "1.0123456789" << QValidator::Acceptable;
    QTest::newRow("eleven digits after the point")
        << b << t << "1.01234567891" << QValidator::Invalid;
    QTest::newRow("top itself is refused") << b << t << "2000000" << QValidator::Invalid;
    QTest::newRow("bottom itself is refused") << b << t << "-2000000" << QValidator::Invalid;
    QTest::newRow("just inside the top") << b << t << "1999999.9" << QValidator::Acceptable;
    QTest::newRow("letters without minus are invalid") << b << t << "abc" << QValidator::Invalid;
    QTest::newRow("letters with a minus anywhere are intermediate")
        << b << t << "ab-c" << QValidator::Intermediate;
    QTest::newRow("point alone is invalid") << b << t << "." << QValidator::Invalid;
    QTest::newRow("plus alone is invalid") << b << t << "+" << QValidator::Invalid;
    QTest::newRow("comma is no decimal point") << b << t << "1,5" << QValidator::Invalid;
    QTest::newRow("exponent form is a number") << b << t << "1e3" << QValidator::Acceptable;
    QTest::newRow("leading point is not counted")
        << b << t << ".012345678912" << QValidator::Acceptable;

    QTest::newRow("lone zero under bottom 0.0001")
        << 0.0001 << 10000.0 << "0" << QValidator::Invalid;
    QTest::newRow("point five over bottom 0.0001")
        << 0.0001 << 10000.0 << ".5" << QValidator::Acceptable;
    QTest::newRow("top 10000 cannot be entered")
        << 0.0001 << 10000.0 << "10000" << QValidator::Invalid;
    QTest::newRow("out of range is never intermediate")
        << 0.0001 << 10000.0 << "-3" << QValidator::Invalid;
    QTest::newRow("decimals of the base are not enforced")
        << 0.0001 << 10000.0 << "1.123456" << QValidator::Acceptable;
    QTest::newRow("zero inside a range around it")
        << -0.0001 << 5000.0 << "0" << QValidator::Acceptable;
}

void TestCustomWidgets::validator()
{
    QFETCH(double, bottom);
    QFETCH(double, top);
    QFETCH(QString, input);
    QFETCH(QValidator::State, state);

    MyDoubleValidator validator(bottom, top, 4, nullptr);
    int position = 0;
    QCOMPARE(validator.validate(input, position), state);
}

void TestCustomWidgets::validatorLeavesInputAlone()
{
    MyDoubleValidator validator(0.0001, 10000, 4, nullptr);
    QString input = QStringLiteral(" 12.5");
    int position = 3;
    validator.validate(input, position);
    QCOMPARE(input, QStringLiteral(" 12.5"));
    QCOMPARE(position, 3);
}

void TestCustomWidgets::validatorHasNoMetaObjectOfItsOwn()
{
    MyDoubleValidator validator(0, 1, 2, nullptr);
    QCOMPARE(validator.metaObject()->className(), "QDoubleValidator");
}

void TestCustomWidgets::buttonStyle_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("styleSheet");
    QTest::addColumn<Qt::CursorShape>("cursor");
    QTest::addColumn<bool>("hasIcon");

    QTest::newRow("no flags: base style, arrow") << 0 << baseStyle << Qt::ArrowCursor << false;
    QTest::newRow("75: hand, blue hover, radius 3, grey border")
        << 75 << baseStyle + blueHover + radius3 + greyBorder << Qt::PointingHandCursor << false;
    QTest::newRow("219: as 75 with icons")
        << 219 << baseStyle + blueHover + radius3 + greyBorder << Qt::PointingHandCursor << true;
    QTest::newRow("every style piece in bit order")
        << (4 | 32 | 256 | 512)
        << baseStyle + "QPushButton{border-radius:8px;}"
               + "QPushButton{border:1px solid transparent;background:transparent}"
               + "QPushButton{border-radius:12px;}"
               + "QPushButton:checked{background-color:#cccccc}"
        << Qt::ArrowCursor << false;
    QTest::newRow("unknown bits have no effect")
        << int(1024u | 0x40000000u | 0x80000000u) << baseStyle << Qt::ArrowCursor << false;
}

void TestCustomWidgets::buttonStyle()
{
    QFETCH(int, flags);
    QFETCH(QString, styleSheet);
    QFETCH(Qt::CursorShape, cursor);
    QFETCH(bool, hasIcon);

    MyPushButton button(nullptr, flags, redIcon, blueIcon);
    QCOMPARE(button.styleSheet(), styleSheet);
    QCOMPARE(button.cursor().shape(), cursor);
    QCOMPARE(!button.icon().isNull(), hasIcon);
    QVERIFY(button.text().isEmpty());
}

void TestCustomWidgets::buttonSwapsIconWhileHovered()
{
    MyPushButton button(nullptr, 219, redIcon, blueIcon);
    QCOMPARE(iconColour(button), QColor(Qt::red));

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&button, &enter);
    QCOMPARE(iconColour(button), QColor(Qt::blue));

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    QCOMPARE(iconColour(button), QColor(Qt::red));
}

void TestCustomWidgets::buttonWithoutHoverFlagKeepsItsIcon()
{
    MyPushButton button(nullptr, 16 | 75, redIcon, blueIcon);
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&button, &enter);
    QCOMPARE(iconColour(button), QColor(Qt::red));
}

void TestCustomWidgets::buttonWithMissingIconHasAnEmptyIcon()
{
    MyPushButton button(nullptr, 219, iconDir.filePath("none.png"), iconDir.filePath("no.png"));
    QVERIFY(button.icon().isNull());
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&button, &enter);
    QVERIFY(button.icon().isNull());
}

void TestCustomWidgets::lineEditAnnouncesEachFocusIn_data()
{
    QTest::addColumn<Qt::FocusReason>("reason");
    QTest::newRow("mouse") << Qt::MouseFocusReason;
    QTest::newRow("tab") << Qt::TabFocusReason;
    QTest::newRow("backtab") << Qt::BacktabFocusReason;
    QTest::newRow("active window") << Qt::ActiveWindowFocusReason;
    QTest::newRow("other") << Qt::OtherFocusReason;
}

void TestCustomWidgets::lineEditAnnouncesEachFocusIn()
{
    QFETCH(Qt::FocusReason, reason);

    MyLineEdit edit(QStringLiteral("10"), nullptr);
    QCOMPARE(edit.text(), QStringLiteral("10"));
    QSignalSpy spy(&edit, &MyLineEdit::changeTitle);
    QFocusEvent focusIn(QEvent::FocusIn, reason);
    QCoreApplication::sendEvent(&edit, &focusIn);
    QCOMPARE(spy.count(), 1);
    QFocusEvent focusOut(QEvent::FocusOut, reason);
    QCoreApplication::sendEvent(&edit, &focusOut);
    QCOMPARE(spy.count(), 1);
}

void TestCustomWidgets::lineEditAnnouncesRealFocusChanges()
{
    QWidget window;
    auto* first = new MyLineEdit(QString(), &window);
    auto* second = new QLineEdit(&window);
    second->move(0, 40);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QSignalSpy spy(first, &MyLineEdit::changeTitle);
    second->setFocus();
    QTRY_VERIFY(second->hasFocus());
    const int before = spy.count();
    first->setFocus();
    QTRY_VERIFY(first->hasFocus());
    QCOMPARE(spy.count(), before + 1);
    second->setFocus();
    QTRY_VERIFY(second->hasFocus());
    first->setFocus();
    QTRY_VERIFY(first->hasFocus());
    QCOMPARE(spy.count(), before + 2);
    QCOMPARE(QByteArray(first->metaObject()->className()), QByteArray("MyLineEdit"));
}

void TestCustomWidgets::programRowsFollowTheText_data()
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
    QTest::newRow("lines removed across paragraphs")
        << "one\ntwo\nthree\nfour" << TextEdits{{2, 9, "-"}};
    QTest::newRow("a line shortened after it was laid out")
        << "G1 X100.000\nG1 Y2" << TextEdits{{3, 8, ""}, {0, 0, "N1 "}};
    QTest::newRow("separators joined and split again")
        << "a" + separator + "b\nc" + separator + "d\ne"
        << TextEdits{{3, 1, ""}, {1, 1, "\n"}, {0, 0, separator}};
    QTest::newRow("everything replaced") << "a\nb" << TextEdits{{0, 3, "c" + separator + "d\ne"}};
}

void TestCustomWidgets::programRowsFollowTheText()
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
            const int firstLine = int(std::upper_bound(starts.begin(), starts.end(),
                                                       block.position()) - starts.begin()) - 1;
            QCOMPARE(layout->blockBoundingRect(block).top(), margin + firstLine * row);
        }
    };
    checkRows();
    for (const TextEdit& edit : edits) {
        apply(document, edit);
        checkRows();
    }
}

void TestCustomWidgets::programViewDrawsTheSelectedRow()
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

QTEST_MAIN(TestCustomWidgets)
#include "tst_customwidgets.moc"
