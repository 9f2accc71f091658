#include "crd/SettingsFolder.h"
#include "form/WidgetNames.h"
#include "module/HostSignal.h"

#include "ModalBoxAnswerer.h"

#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>

#include <QLibrary>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace {

using KdvSignal = int32_t (*)(int16_t, void*, void*, void*);

QStringList hostLines;
void collectLine(QString line)
{
    hostLines << line;
}

QList<CrdResourceRecord> oneCore()
{
    return {CrdResourceRecord{1, 2, 1, 1, {}}};
}

} // namespace

class TestHostEntry : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void windowBeforeTheHostAttachedHasNoController();
    void describeThroughTheLoadedModule();
    void unknownSignalsDoNothing_data();
    void unknownSignalsDoNothing();
    void attachKeepsCallbacksAndResetsTheCursor();
    void axisTableIsKeptAsGiven();

private:
    QTemporaryDir settings;
};

void TestHostEntry::initTestCase()
{
    SetSettingsFolder(settings.path());
}

void TestHostEntry::windowBeforeTheHostAttachedHasNoController()
{
    QMainWindow host;
    auto* area = new QMdiArea;
    host.setCentralWidget(area);
    LanguageChoice english = LanguageEnglish;
    {
        // No settings file: the remembered program path is one blank, which does not open.
        ModalBoxAnswerer answerer;
        QCOMPARE(HandleHostSignal(SignalOpenWindow, &host, &english), 0);
        QCOMPARE(answerer.first().text, QStringLiteral("File open fail !"));
    }
    auto* form = host.findChild<QWidget*>(QLatin1String(WidgetNames::form));
    QVERIFY(form);
    QCOMPARE(host.findChild<QComboBox*>(QLatin1String(WidgetNames::coreIndexCombo))->count(), 0);
    // Without the host's axis table the units are millimetres.
    QCOMPARE(host.findChild<QLabel*>(QLatin1String(WidgetNames::synVelMaxLabel))->toolTip(),
             QStringLiteral("mm/s"));
    area->closeAllSubWindows();
    QCOMPARE(moduleState().openWindowCount, int16_t(0));
    QVERIFY(!moduleState().formTable[0]);
}

void TestHostEntry::describeThroughTheLoadedModule()
{
    QLibrary library(QStringLiteral(KURVO_MODULE_PATH));
    QVERIFY2(library.load(), qPrintable(library.errorString()));
    auto kdvSignal = reinterpret_cast<KdvSignal>(library.resolve("KDV_SIGNAL"));
    QVERIFY(kdvSignal);

    ModuleDescriptor descriptor{QStringLiteral("x"), {}, {}, 0, 0, 0};
    QCOMPARE(kdvSignal(SignalDescribe, nullptr, &descriptor, nullptr), 0);
    QCOMPARE(descriptor.name, QStringLiteral("Kurvo"));
    QCOMPARE(descriptor.caption,
             QString::fromUtf8("\xe6\x8f\x92\xe8\xa1\xa5\xe8\xbf\x90\xe5\x8a\xa8"));
    QCOMPARE(descriptor.caption.size(), 4);
    QCOMPARE(descriptor.shortName, QStringLiteral("Crd"));
    QCOMPARE(descriptor.hostCode1, 3);
    QCOMPARE(descriptor.hostCode2, 2);
    QCOMPARE(int(descriptor.hostFlag), 1);
    QCOMPARE(kdvSignal(SignalDescribe, nullptr, nullptr, nullptr), 0);
}

void TestHostEntry::unknownSignalsDoNothing_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("0") << 0;
    QTest::newRow("reserved") << int(SignalReserved);
    QTest::newRow("7") << 7;
    QTest::newRow("-1") << -1;
    QTest::newRow("32767") << 32767;
}

void TestHostEntry::unknownSignalsDoNothing()
{
    QFETCH(int, signal);
    ModuleState& state = moduleState();
    state = ModuleState();
    int garbage = 5;
    QCOMPARE(HandleHostSignal(int16_t(signal), &garbage, &garbage), 0);
    QVERIFY(!state.hostMessage);
    QVERIFY(!state.hostResources);
    QVERIFY(!state.axisTable);
    QCOMPARE(garbage, 5);
}

void TestHostEntry::attachKeepsCallbacksAndResetsTheCursor()
{
    ModuleState& state = moduleState();
    state.cursorCore = 3;
    state.cursorCrd = 2;
    QCOMPARE(HandleHostSignal(SignalAttachHost, reinterpret_cast<void*>(&collectLine),
                              reinterpret_cast<void*>(&oneCore)),
             0);
    QCOMPARE(state.cursorCore, int16_t(1));
    QCOMPARE(state.cursorCrd, int16_t(0));
    QVERIFY(state.hostMessage == &collectLine);
    QVERIFY(state.hostResources == &oneCore);
    state.hostMessage(QStringLiteral("line"));
    QCOMPARE(hostLines, QStringList{"line"});
    QCOMPARE(state.hostResources().value(0).crdCount, int16_t(2));
}

void TestHostEntry::axisTableIsKeptAsGiven()
{
    static HostAxisTable table{};
    table.useMmUnits = 1;
    table.pulsesPerMm[0][1] = 1000;
    QCOMPARE(HandleHostSignal(SignalSetAxisTable, &table, nullptr), 0);
    QCOMPARE(moduleState().axisTable, &table);
    const auto* bytes = reinterpret_cast<const unsigned char*>(moduleState().axisTable);
    double factor = 0;
    std::memcpy(&factor, bytes + 8 + 8, sizeof factor); // core 1, profile 2
    QCOMPARE(factor, 1000.0);
}

QTEST_MAIN(TestHostEntry)
#include "tst_hostentry.moc"
