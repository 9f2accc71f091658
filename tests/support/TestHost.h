#ifndef KURVO_TESTS_TESTHOST_H
#define KURVO_TESTS_TESTHOST_H

#include "module/HostSignal.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>

class QMdiArea;

// A host for tests: a shown main window with an MDI area, the host's two callbacks and its
// axis table (1000 pulses per mm, velocity factor 1, acceleration factor 0.001, millimetres),
// talking to the module through the KDV_SIGNAL it is given.
class TestHost
{
public:
    using KdvSignal = int32_t (*)(int16_t signal, void* first, void* second, void* unused);

    // Attaches to the module and hands over the axis table.
    explicit TestHost(KdvSignal kdvSignal);
    ~TestHost();

    void attach();
    // Opens (or activates) the operator window; returns the form.
    QWidget* open(LanguageChoice language = LanguageEnglish);
    void setLanguage(LanguageChoice language);

    QMainWindow* window() const { return mainWindow.get(); }
    QMdiArea* area() const;

    template <typename T = QWidget> T* find(const QString& name) const
    {
        return mainWindow->findChild<T*>(name);
    }
    template <typename T = QWidget> T* find(const char* name) const
    {
        return find<T>(QLatin1String(name));
    }

    HostAxisTable axisTable{};
    // What the host's resource list returns; shared by all hosts.
    static QList<CrdResourceRecord> resources;
    // The lines the host was handed since the last host was made, from any thread.
    static QStringList Lines();

private:
    KdvSignal kdvSignal;
    std::unique_ptr<QMainWindow> mainWindow;
};

#endif
