// The module as a host meets it: the exported entry and its signals, then the operator window of
// the module loaded as a plug-in, driven through KDV_SIGNAL, its widgets found by name and its
// slots through the meta-object system.
#include "crd/SettingsFolder.h"
#include "form/WidgetNames.h"
#include "module/HostSignal.h"
#include "module/ModuleState.h"
#include "rvsim.h"

#include "ModalBoxAnswerer.h"
#include "TestHost.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLibrary>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

using KdvSignal = TestHost::KdvSignal;

namespace {

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

class TestModule : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        SetSettingsFolder(settings.path());
        module.setFileName(QStringLiteral(KURVO_MODULE_PATH));
        QVERIFY2(module.load(), qPrintable(module.errorString()));
        kdvSignal = reinterpret_cast<KdvSignal>(module.resolve("KDV_SIGNAL"));
        QVERIFY(kdvSignal);
    }

    // The window tests drive the plug-in; the entry tests its code linked in.
    void init()
    {
        // The plug-in's controller address outlives its windows: one closed on core 3 leaves the
        // next window built on core 3, which the controller must then have.
        rvsim_configure(3, 0, 0, 0, 0);
        host = std::make_unique<TestHost>(kdvSignal);
        QFile::remove(host->settingsFile()); // this test's own folder
    }

    void cleanup() { host.reset(); }

    void windowBeforeTheHostAttachedHasNoController()
    {
        QMainWindow window;
        auto* area = new QMdiArea;
        window.setCentralWidget(area);
        LanguageChoice english = LanguageEnglish;
        {
            // No settings file: the remembered program path is one blank, which does not open.
            ModalBoxAnswerer answerer;
            QCOMPARE(HandleHostSignal(SignalOpenWindow, &window, &english), 0);
            QCOMPARE(answerer.first().text, QStringLiteral("File open fail !"));
        }
        QVERIFY(window.findChild<QWidget*>(WidgetNames::form));
        QCOMPARE(window.findChild<QComboBox*>(WidgetNames::coreIndexCombo)->count(), 0);
        // Without the host's axis table the units are millimetres.
        QCOMPARE(window.findChild<QLabel*>(WidgetNames::synVelMaxLabel)->toolTip(),
                 QStringLiteral("mm/s"));
        area->closeAllSubWindows();
        QCOMPARE(moduleState().openWindowCount, int16_t(0));
        QVERIFY(!moduleState().formTable[0]);
    }

    void describeThroughTheLoadedModule()
    {
        ModuleDescriptor descriptor{QStringLiteral("x"), {}, {}, 0, 0, 0};
        QCOMPARE(kdvSignal(SignalDescribe, nullptr, &descriptor, nullptr), 0);
        QCOMPARE(descriptor.name, QStringLiteral("Kurvo"));
        QCOMPARE(descriptor.caption,
                 QString::fromUtf8("\xe6\x8f\x92\xe8\xa1\xa5\xe8\xbf\x90\xe5\x8a\xa8"));
        QCOMPARE(descriptor.shortName, QStringLiteral("Crd"));
        QCOMPARE(descriptor.hostCode1, 3);
        QCOMPARE(descriptor.hostCode2, 2);
        QCOMPARE(int(descriptor.hostFlag), 1);
        QCOMPARE(kdvSignal(SignalDescribe, nullptr, nullptr, nullptr), 0);
    }

    void attachKeepsCallbacksAndResetsTheCursor()
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

    // A second open activates the window; once it is closed, the next open builds a new form, which
    // the module holds in its table again (it answers language switches).
    void openTwiceGivesOneWindowThenANewForm()
    {
        QPointer<QWidget> form = open();
        QVERIFY(form);
        QCOMPARE(form->metaObject()->className(), "CrdForm");
        open();
        QCOMPARE(host->area()->subWindowList().size(), 1);
        QMdiSubWindow* window = host->area()->subWindowList().constFirst();
        QCOMPARE(window->objectName(), QStringLiteral("Kurvo"));
        QCOMPARE(window->widget(), form);
        QCOMPARE(host->area()->activeSubWindow(), window);
        QCOMPARE(form->sizeHint(), QSize(500, 400));
        QCOMPARE(form->property("instanceIndex").toInt(), 0);

        QVERIFY(window->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
        QVERIFY(host->area()->subWindowList().isEmpty());
        QWidget* second = open();
        QCOMPARE(host->area()->subWindowList().size(), 1);
        QCOMPARE(second->property("instanceIndex").toInt(), 0);
        host->setLanguage(LanguageChinese);
        QCOMPARE(second->windowTitle(), QStringLiteral("插补"));
    }

    // The module must not keep the freed form: the language switch would reach it, and the
    // window count would stop every later opening.
    void hostDeletesItsWindowUnclosed()
    {
        QPointer<QWidget> form = open();
        QVERIFY(form);
        host->destroyMainWindowUnclosed();
        QVERIFY(form.isNull());
        host->setLanguage(LanguageChinese);
        QWidget* second = open(LanguageEnglish);
        QVERIFY(second);
        QCOMPARE(host->area()->subWindowList().size(), 1);
        host->setLanguage(LanguageChinese);
        QCOMPARE(second->windowTitle(), QStringLiteral("插补"));
    }

    void languageSwitch_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("button");

        const auto row = [](const char* name, int language, const char* title, const char* group,
                            const char* button) {
            QTest::newRow(name) << language << QString(title) << QString(group) << QString(button);
        };
        row("English", 1, "Crd", "Crd parameter", "Start Crd");
        row("Chinese", 0, "插补", "索引", "启动插补");
        row("-1 changes nothing", -1, "Crd", "Crd parameter", "Start Crd");
    }

    void languageSwitch()
    {
        QFETCH(int, language);
        QFETCH(QString, title);
        QFETCH(QString, group);
        QFETCH(QString, button);

        QWidget* form = open(LanguageEnglish);
        LanguageChoice choice = language;
        QCOMPARE(kdvSignal(SignalSetLanguage, &choice, nullptr, nullptr), 0);
        QCOMPARE(form->windowTitle(), title);
        QCOMPARE(host->find<QGroupBox>(WidgetNames::crdParameterGroup)->title(), group);
        QCOMPARE(host->find<QPushButton>(WidgetNames::startCrdButton)->text(), button);
    }

    // A switch before any window changes nothing; after the host attached again, the module has
    // forgotten the open form: the switch leaves it, and opening builds no second one.
    void languageSwitchBeforeAnyWindowOrAfterAReattach()
    {
        LanguageChoice chinese = LanguageChinese;
        QCOMPARE(kdvSignal(SignalSetLanguage, &chinese, nullptr, nullptr), 0);
        QCOMPARE(kdvSignal(SignalSetLanguage, nullptr, nullptr, nullptr), 0);
        QWidget* form = open(LanguageEnglish);
        QCOMPARE(form->windowTitle(), QStringLiteral("Crd"));
        host->attach();
        host->setLanguage(chinese);
        QCOMPARE(form->windowTitle(), QStringLiteral("Crd"));
        open();
        QCOMPARE(host->area()->subWindowList().size(), 1);
    }

    void coreChoiceFollowsTheHost_data()
    {
        QTest::addColumn<QList<CrdResourceRecord>>("records");
        QTest::addColumn<QStringList>("cores");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("no controller: empty choice")
            << QList{CrdResourceRecord{0, 0, 0, 0, {}}} << QStringList() << -1 << QStringList();
        QTest::newRow("an empty resource list: no controller")
            << QList<CrdResourceRecord>() << QStringList() << -1 << QStringList();
        QTest::newRow("three cores, the host assigns core 2")
            << QList{CrdResourceRecord{3, 2, 2, 1, {}}} << QStringList{"1", "2", "3"} << 1
            << QStringList();
        QTest::newRow("no assignment: the next coordinate system of core 1")
            << QList{CrdResourceRecord{1, 2, 0, 0, {}}} << QStringList{"1"} << 0 << QStringList();
        QStringList sixteen;
        for (int core = 1; core <= 16; ++core)
            sixteen << QString::number(core);
        QTest::newRow("32767 cores: the 16 the axis table knows")
            << QList{CrdResourceRecord{32767, 2, 1, 1, {}}} << sixteen << 0
            << QStringList{"The host reports 32767 cores; the window offers cores 1 to 16."};
    }

    void coreChoiceFollowsTheHost()
    {
        QFETCH(QList<CrdResourceRecord>, records);
        QFETCH(QStringList, cores);
        QFETCH(int, selected);
        QFETCH(QStringList, lines);

        TestHost::resources = records;
        QVERIFY(open());
        auto* combo = host->find<QComboBox>(WidgetNames::coreIndexCombo);
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        QCOMPARE(items, cores);
        QCOMPARE(combo->currentIndex(), selected);
        QCOMPARE(TestHost::Lines(), lines);
    }

private:
    QWidget* open(LanguageChoice language = LanguageEnglish) { return host->open(language); }

    QTemporaryDir settings;
    QLibrary module;
    KdvSignal kdvSignal = nullptr;
    std::unique_ptr<TestHost> host;
};

QTEST_MAIN(TestModule)
#include "tst_module.moc"
