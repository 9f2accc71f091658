#include "controller/CommandResult.h"
#include "form/ErrorBoxes.h"

#include "ModalBoxAnswerer.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>

namespace {

QStringList hostLines;

void collectLine(QString line)
{
    hostLines << line;
}

// Marks every text of context "QObject" so that a test sees it went through translation.
class MarkingTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* /*disambiguation*/,
                      int /*n*/) const override
    {
        if (qstrcmp(context, "QObject") != 0)
            return QString();
        return QStringLiteral("T:") + QString::fromUtf8(source);
    }
};

} // namespace

class TestCommandResult : public QObject
{
    Q_OBJECT

private slots:
    void init() { hostLines.clear(); }

    void errorBoxesClose_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("closed by its host") << false;
        QTest::newRow("Esc") << true;
    }

    // Closing the box, as a host closing its windows does, or Esc gives the default answer.
    void errorBoxesClose()
    {
        QFETCH(bool, byEscape);
        bool closed = false;
        QTimer::singleShot(0, this, [byEscape, &closed] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box);
            if (byEscape)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->close();
            closed = !QApplication::activeModalWidget();
            // A box that stays would hold the test for ever: its default button ends it.
            if (auto* stays = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                stays->defaultButton()->click();
        });
        QCOMPARE(ShowCommandError("MQN_CrdStart", 1), 1);
        QVERIFY(closed);
    }

    void showsCodeAndMeaning_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("shownCode");
        QTest::addColumn<QString>("meaning");

        QTest::newRow("7") << 7 << 7 << "Parameter in command is error!";
        QTest::newRow("-1") << -1 << -1 << "Host failed to communicate with motion controller!";
        QTest::newRow("-8") << -8 << -8 << "Multi-thread resources busy!";
        QTest::newRow("-1008 shown as -8") << -1008 << -8 << "eni file config error!";
        for (int code : {2, 9527, -9, -1007, -1011, 32767})
            QTest::addRow("%d is unknown", code) << code << code << "Unknown Result!";
    }

    void showsCodeAndMeaning()
    {
        QFETCH(int, code);
        QFETCH(int, shownCode);
        QFETCH(QString, meaning);

        ModalBoxAnswerer answerer;
        const short returned = ShowCommandError("LnXY", short(code));

        QCOMPARE(returned, short(shownCode));
        QCOMPARE(answerer.first().text,
                 QStringLiteral("LnXY = %1\r\n----%2").arg(shownCode).arg(meaning));
    }

    void boxLooksLikeACommandError()
    {
        ModalBoxAnswerer answerer;
        ShowCommandError("MQN_CrdStart", -7);

        const ModalBoxAnswerer::Box box = answerer.first();
        QCOMPARE(box.title, QStringLiteral("Command Return Error:"));
        QCOMPARE(box.icon, QMessageBox::Information);
        QCOMPARE(box.text, QStringLiteral("MQN_CrdStart = -7\r\n----No respond! DSP is busying!"));
        QCOMPARE(box.buttons.size(), 2);
        QCOMPARE(box.buttons.value(QMessageBox::Yes), QStringLiteral("No"));
        QCOMPARE(box.buttons.value(QMessageBox::Discard), QStringLiteral("Yes"));
        QCOMPARE(box.defaultButton, QStringLiteral("Yes"));
        QVERIFY(box.flags.testFlag(Qt::MSWindowsFixedSizeDialogHint));
        QVERIFY(!box.hasParent);
    }

    // The box and the host's lines take their texts through the translators.
    void textsAreTranslated()
    {
        MarkingTranslator translator;
        QCoreApplication::installTranslator(&translator);
        ModalBoxAnswerer answerer;
        ShowCommandError("ArcXYC", 7);
        ReportCommandResult("MQN_Stop", 1, collectLine);
        ReportCommandResult("plain text", ReportTextOnly, collectLine);
        QCoreApplication::removeTranslator(&translator);

        const ModalBoxAnswerer::Box box = answerer.first();
        QCOMPARE(box.text, QStringLiteral("T:ArcXYC = 7\r\n----T:Parameter in command is error!"));
        QCOMPARE(box.title, QStringLiteral("T:Command Return Error:"));
        QCOMPARE(box.buttons.value(QMessageBox::Yes), QStringLiteral("T:No"));
        QCOMPARE(box.buttons.value(QMessageBox::Discard), QStringLiteral("T:Yes"));
        QCOMPARE(hostLines, (QStringList{"T:MQN_Stop = 1", "T:plain text"}));
    }

    void reportsLine_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("failure as name = code")
            << "MQN_CrdStart" << -7 << QStringList{"MQN_CrdStart = -7"};
        QTest::newRow("EtherCAT code unchanged")
            << "MQN_Stop" << -1009 << QStringList{"MQN_Stop = -1009"};
        QTest::newRow("success reports nothing") << "MQN_CrdStart" << 0 << QStringList{};
        QTest::newRow("text only") << "ErrorMax = 0.5" << 9527 << QStringList{"ErrorMax = 0.5"};
        QTest::newRow("Chinese name arrives intact")
            << QStringLiteral("插补运动") << 3 << QStringList{QStringLiteral("插补运动 = 3")};
    }

    void reportsLine()
    {
        QFETCH(QString, name);
        QFETCH(int, code);
        QFETCH(QStringList, lines);

        ReportCommandResult(name.toUtf8().constData(), short(code), collectLine);
        QCOMPARE(hostLines, lines);
    }
};

QTEST_MAIN(TestCommandResult)
#include "tst_commandresult.moc"
