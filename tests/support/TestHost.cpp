#include "TestHost.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMutex>

#include "form/WidgetNames.h"

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

TestHost::TestHost(KdvSignal kdvSignal)
    : kdvSignal(kdvSignal)
    , mainWindow(std::make_unique<QMainWindow>())
{
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
    mainWindow->setCentralWidget(new QMdiArea);
    mainWindow->resize(1000, 800);
    mainWindow->show();
    attach();
    kdvSignal(SignalSetAxisTable, &axisTable, nullptr, nullptr);
}

TestHost::~TestHost()
{
    area()->closeAllSubWindows();
    mainWindow.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
    kdvSignal(SignalOpenWindow, mainWindow.get(), &language, nullptr);
    return find(WidgetNames::form);
}

void TestHost::setLanguage(LanguageChoice language)
{
    kdvSignal(SignalSetLanguage, &language, nullptr, nullptr);
}
