#include "TestHost.h"

#include "ModalBoxAnswerer.h"
#include "form/WidgetNames.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QMdiArea>
#include <QMutex>
#include <QSettings>

#include <algorithm>

QList<CrdResourceRecord> TestHost::resources;

namespace {

// The streaming worker prints from its own thread while the test reads on the GUI thread.
QMutex linesGuard;
QStringList lines;

QList<CrdResourceRecord> hostResources()
{
    return TestHost::resources;
}

void hostMessage(QString line)
{
    QMutexLocker lock(&linesGuard);
    lines << line;
}

} // namespace

TestHost::TestHost(KdvSignal kdvSignal, SettingsSeam useSettingsFolder)
    : kdvSignal(kdvSignal)
    , useSettingsFolder(useSettingsFolder)
    , mainWindow(std::make_unique<QMainWindow>())
{
    if (useSettingsFolder) {
        settingsDir = std::make_unique<QTemporaryDir>();
        useSettingsFolder(settingsDir->path());
    }
    resources = {CrdResourceRecord{1, 2, 1, 1, {}}};
    {
        QMutexLocker lock(&linesGuard);
        lines.clear();
    }
    axisTable.useMmUnits = 1;
    for (int core = 0; core < HostAxisTable::cores; ++core) {
        for (int profile = 0; profile < HostAxisTable::profiles; ++profile) {
            axisTable.pulsesPerMm[core][profile] = 1000;
            axisTable.velocityFactor[core][profile] = 1;
            axisTable.accelerationFactor[core][profile] = 0.001;
        }
    }
    showMainWindow();
    attach();
    kdvSignal(SignalSetAxisTable, &axisTable, nullptr, nullptr);
}

TestHost::~TestHost()
{
    // Closing saves the settings, which reads the window's values as Init does: a test that
    // left a bad value gets Init's box once more.
    ModalBoxAnswerer closing(ModalBoxAnswerer::anyNumber);
    area()->closeAllSubWindows();
    mainWindow.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (useSettingsFolder)
        useSettingsFolder(QString());
}

void TestHost::showMainWindow()
{
    mainWindow->setCentralWidget(new QMdiArea);
    mainWindow->resize(1000, 800);
    mainWindow->show();
}

void TestHost::destroyMainWindowUnclosed()
{
    mainWindow = std::make_unique<QMainWindow>();
    showMainWindow();
}

QString TestHost::settingsFile() const
{
    return (settingsDir ? settingsDir->path()
                        : QCoreApplication::applicationDirPath() + QStringLiteral("/modules"))
           + QStringLiteral("/Crd.ini");
}

QStringList TestHost::Lines()
{
    QMutexLocker lock(&linesGuard);
    return lines;
}

QMdiArea* TestHost::area() const
{
    return static_cast<QMdiArea*>(mainWindow->centralWidget());
}

void TestHost::attach()
{
    kdvSignal(SignalAttachHost, reinterpret_cast<void*>(&hostMessage),
              reinterpret_cast<void*>(&hostResources), nullptr);
}

QWidget* TestHost::open(LanguageChoice language)
{
    if (neutralSettings && !QFile::exists(settingsFile()))
        WriteNeutralSettings(settingsFile(), resources.value(0));
    kdvSignal(SignalOpenWindow, mainWindow.get(), &language, nullptr);
    return find(WidgetNames::form);
}

void TestHost::WriteNeutralSettings(const QString& path, const CrdResourceRecord& host)
{
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(QStringLiteral("KurvoCore1Crd1"));
    file.setValue(QStringLiteral("Core"), std::max(0, host.core - 1));
    file.setValue(QStringLiteral("dimension"), 2);
    const int profiles[] = {1, 2, 3, 0, 0};
    for (int axis = 0; axis < 5; ++axis) {
        file.setValue(QStringLiteral("Profile%1").arg(axis), profiles[axis]);
        file.setValue(QStringLiteral("Scale%1").arg(axis), 10000);
    }
    file.setValue(QStringLiteral("synVelMax"), 1000);
    file.setValue(QStringLiteral("synAccMax"), 5000);
    file.setValue(QStringLiteral("evenTime"), 0);
    file.setValue(QStringLiteral("dCrdJerk"), 1);
    file.setValue(QStringLiteral("labOpenFileData"), QString());
    file.endGroup();
}

void TestHost::setLanguage(LanguageChoice language)
{
    kdvSignal(SignalSetLanguage, &language, nullptr, nullptr);
}

void TestHost::choose(const QString& combo, int index) const
{
    auto* choice = find<QComboBox>(combo);
    choice->setCurrentIndex(index);
    emit choice->activated(index);
}

void TestHost::openLookAhead() const
{
    choose(WidgetNames::lookAheadModeCombo, 1);
}

void TestHost::chooseText(const QString& combo, const QString& text) const
{
    choose(combo, find<QComboBox>(combo)->findText(text));
}
