// The operator window as a host sees it: the module loaded as a plug-in, driven through
// KDV_SIGNAL, its widgets found by name and its slots through the meta-object system.
#include "form/WidgetNames.h"
#include "module/HostSignal.h"
#include "rvsim.h"

#include "TestHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>

#include <memory>

namespace {

using KdvSignal = TestHost::KdvSignal;

QString tip(TestHost& host, const QString& name)
{
    QWidget* widget = host.find(name);
    return widget ? widget->toolTip() : QStringLiteral("<missing %1>").arg(name);
}

} // namespace

class TestOperatorWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openTwiceGivesOneWindow();
    void openCloseOpenBuildsANewForm();
    void centralWidgetThatIsNoMdiAreaOpensNothing();
    void hostMainWindowKeepsItsSize();
    void languageSwitch_data();
    void languageSwitch();
    void languageSwitchBeforeAnyWindow();
    void attachWhileOpenForgetsTheForm();
    void unitTips_data();
    void unitTips();
    void lookAheadProbe_data();
    void lookAheadProbe();
    void coreChoiceFollowsTheHost_data();
    void coreChoiceFollowsTheHost();
    void emptyResourceListMeansNoController();

private:
    QWidget* open(LanguageChoice language = LanguageEnglish) { return host->open(language); }
    template <typename T = QWidget> T* child(const char* name) const { return host->find<T>(name); }
    template <typename T = QWidget> T* child(const QString& name) const
    {
        return host->find<T>(name);
    }

    QLibrary module;
    KdvSignal kdvSignal = nullptr;
    std::unique_ptr<TestHost> host;
};

void TestOperatorWindow::initTestCase()
{
    module.setFileName(QStringLiteral(KURVO_MODULE_PATH));
    QVERIFY2(module.load(), qPrintable(module.errorString()));
    kdvSignal = reinterpret_cast<KdvSignal>(module.resolve("KDV_SIGNAL"));
    QVERIFY(kdvSignal);
}

void TestOperatorWindow::init()
{
    // The plug-in's controller address outlives its windows: one closed on core 3 leaves the
    // next window built on core 3, which the controller must then have.
    rvsim_configure(3, 0, 0, 0, 0);
    host = std::make_unique<TestHost>(kdvSignal);
    QFile::remove(host->settingsFile()); // this test's own folder
}

void TestOperatorWindow::cleanup()
{
    host.reset();
}

void TestOperatorWindow::openTwiceGivesOneWindow()
{
    QWidget* form = open();
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
}

void TestOperatorWindow::openCloseOpenBuildsANewForm()
{
    QPointer<QWidget> first = open();
    QVERIFY(first);
    QVERIFY(host->area()->subWindowList().constFirst()->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());
    QVERIFY(host->area()->subWindowList().isEmpty());

    QWidget* second = open();
    QVERIFY(second);
    QCOMPARE(host->area()->subWindowList().size(), 1);
    QCOMPARE(second->property("instanceIndex").toInt(), 0);
    // The new form answers language switches: the module holds it in its table again.
    LanguageChoice chinese = LanguageChinese;
    host->setLanguage(chinese);
    QCOMPARE(second->windowTitle(), QStringLiteral("插补"));
}

void TestOperatorWindow::centralWidgetThatIsNoMdiAreaOpensNothing()
{
    QMainWindow plain;
    plain.setCentralWidget(new QWidget);
    LanguageChoice language = LanguageEnglish;
    QCOMPARE(kdvSignal(SignalOpenWindow, &plain, &language, nullptr), 0);
    QVERIFY(!plain.findChild<QWidget*>(QLatin1String(WidgetNames::form)));
    QVERIFY(open()); // and the module still opens a window for a proper host
}

void TestOperatorWindow::hostMainWindowKeepsItsSize()
{
    const QSize before = host->window()->size();
    open();
    QCOMPARE(host->window()->size(), before);
}

void TestOperatorWindow::languageSwitch_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("button");

    QTest::newRow("English") << 1 << "Crd"
                             << "Crd parameter"
                             << "Start Crd";
    QTest::newRow("Chinese") << 0 << "插补"
                             << "索引"
                             << "启动插补";
    QTest::newRow("2 changes nothing") << 2 << "Crd"
                                       << "Crd parameter"
                                       << "Start Crd";
    QTest::newRow("-1 changes nothing") << -1 << "Crd"
                                        << "Crd parameter"
                                        << "Start Crd";
}

void TestOperatorWindow::languageSwitch()
{
    QFETCH(int, language);
    QFETCH(QString, title);
    QFETCH(QString, group);
    QFETCH(QString, button);

    QWidget* form = open(LanguageEnglish);
    LanguageChoice choice = language;
    QCOMPARE(kdvSignal(SignalSetLanguage, &choice, nullptr, nullptr), 0);
    QCOMPARE(form->windowTitle(), title);
    QCOMPARE(child<QGroupBox>(WidgetNames::crdParameterGroup)->title(), group);
    QCOMPARE(child<QPushButton>(WidgetNames::startCrdButton)->text(), button);
}

void TestOperatorWindow::languageSwitchBeforeAnyWindow()
{
    LanguageChoice chinese = LanguageChinese;
    QCOMPARE(kdvSignal(SignalSetLanguage, &chinese, nullptr, nullptr), 0);
    QCOMPARE(kdvSignal(SignalSetLanguage, nullptr, nullptr, nullptr), 0);
    QWidget* form = open(LanguageEnglish);
    QCOMPARE(form->windowTitle(), QStringLiteral("Crd"));
}

void TestOperatorWindow::attachWhileOpenForgetsTheForm()
{
    QWidget* form = open(LanguageEnglish);
    host->attach();
    LanguageChoice chinese = LanguageChinese;
    host->setLanguage(chinese);
    QCOMPARE(form->windowTitle(), QStringLiteral("Crd"));
    open();
    QCOMPARE(host->area()->subWindowList().size(), 1);
}

void TestOperatorWindow::unitTips_data()
{
    QTest::addColumn<int>("useMmUnits");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("speed");
    QTest::addColumn<QString>("acceleration");

    QTest::newRow("millimetres, English") << 1 << 1 << "mm"
                                          << "mm/s"
                                          << "mm/s^2";
    QTest::newRow("pulses, English") << 0 << 1 << "pulse"
                                     << "pulse/ms"
                                     << "pulse/ms^2";
    QTest::newRow("millimetres, Chinese") << 1 << 0 << "毫米"
                                          << "毫米/秒"
                                          << "毫米/秒^2";
    QTest::newRow("pulses, Chinese") << 0 << 0 << "脉冲"
                                     << "脉冲/毫秒"
                                     << "脉冲/毫秒^2";
    QTest::newRow("any non-zero byte means millimetres") << 0x80 << 1 << "mm"
                                                         << "mm/s"
                                                         << "mm/s^2";
}

void TestOperatorWindow::unitTips()
{
    QFETCH(int, useMmUnits);
    QFETCH(int, language);
    QFETCH(QString, length);
    QFETCH(QString, speed);
    QFETCH(QString, acceleration);

    host->axisTable.useMmUnits = uint8_t(useMmUnits);
    QVERIFY(open(language));
    QCOMPARE(tip(*host, QLatin1String(WidgetNames::synVelMaxLabel)), speed);
    QCOMPARE(tip(*host, QLatin1String(WidgetNames::synAccMaxLabel)), acceleration);
    for (int axis = 0; axis < 5; ++axis) {
        QCOMPARE(tip(*host, WidgetNames::perAxis(WidgetNames::axisLabel, axis)), length);
        QCOMPARE(tip(*host, WidgetNames::perAxis(WidgetNames::originLabel, axis)), length);
    }

    // A switch of language follows the same table.
    LanguageChoice other = language == 0 ? 1 : 0;
    host->setLanguage(other);
    const bool mm = useMmUnits != 0;
    const QString otherSpeed
        = other == 1 ? (mm ? "mm/s" : "pulse/ms") : (mm ? "毫米/秒" : "脉冲/毫秒");
    QCOMPARE(tip(*host, QLatin1String(WidgetNames::synVelMaxLabel)), otherSpeed);
}

void TestOperatorWindow::lookAheadProbe_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("hidden");
    QTest::newRow("unknown command hides the button") << 8 << true;
    QTest::newRow("success leaves it") << 0 << false;
    QTest::newRow("parameter error leaves it") << 7 << false;
    QTest::newRow("communication failure leaves it") << -1 << false;
}

void TestOperatorWindow::lookAheadProbe()
{
    QFETCH(int, code);
    QFETCH(bool, hidden);

    if (code != 0)
        rvsim_inject("MQN_GetLookAheadParaEx", short(code), 1);
    rvsim_journal_enable(1);
    QVERIFY(open());
    QCOMPARE(child<QPushButton>(WidgetNames::getLookAheadPrmButton)->isHidden(), hidden);
    QVERIFY(TestHost::Lines().isEmpty());
    bool probed = false;
    for (int i = 0; i < rvsim_journal_count(); ++i)
        probed |= QByteArray(rvsim_journal_entry(i)) == "MQN_GetLookAheadParaEx(1, 1, 0, out, 0)";
    QVERIFY(probed);
}

void TestOperatorWindow::coreChoiceFollowsTheHost_data()
{
    QTest::addColumn<CrdResourceRecord>("record");
    QTest::addColumn<QStringList>("cores");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("no controller: empty choice")
        << CrdResourceRecord{0, 0, 0, 0, {}} << QStringList() << -1 << QStringList();
    QTest::newRow("three cores, the host assigns core 2")
        << CrdResourceRecord{3, 2, 2, 1, {}} << QStringList{"1", "2", "3"} << 1 << QStringList();
    QTest::newRow("no assignment: the next coordinate system of core 1")
        << CrdResourceRecord{1, 2, 0, 0, {}} << QStringList{"1"} << 0 << QStringList();
    QStringList sixteen;
    for (int core = 1; core <= 16; ++core)
        sixteen << QString::number(core);
    QTest::newRow("32767 cores: the 16 the axis table knows")
        << CrdResourceRecord{32767, 2, 1, 1, {}} << sixteen << 0
        << QStringList{"The host reports 32767 cores; the window offers cores 1 to 16."};
}

void TestOperatorWindow::coreChoiceFollowsTheHost()
{
    QFETCH(CrdResourceRecord, record);
    QFETCH(QStringList, cores);
    QFETCH(int, selected);
    QFETCH(QStringList, lines);

    TestHost::resources = {record};
    QVERIFY(open());
    auto* combo = child<QComboBox>(WidgetNames::coreIndexCombo);
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    QCOMPARE(items, cores);
    QCOMPARE(combo->currentIndex(), selected);
    QCOMPARE(TestHost::Lines(), lines);
}

void TestOperatorWindow::emptyResourceListMeansNoController()
{
    TestHost::resources.clear();
    QVERIFY(open());
    QCOMPARE(child<QComboBox>(WidgetNames::coreIndexCombo)->count(), 0);
}

QTEST_MAIN(TestOperatorWindow)
#include "tst_operatorwindow.moc"
