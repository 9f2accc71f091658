#ifndef KURVO_TESTS_TESTHOST_H
#define KURVO_TESTS_TESTHOST_H

#include "module/HostSignal.h"

#include <QMainWindow>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QMdiArea;

// A host for tests: a shown main window with an MDI area, the host's two callbacks and its
// axis table (1000 pulses per mm, velocity factor 1, acceleration factor 0.001, millimetres),
// talking to the module through the KDV_SIGNAL it is given.
class TestHost
{
public:
    using KdvSignal = int32_t (*)(int16_t signal, void* first, void* second, void* unused);
    using SettingsSeam = void (*)(const QString& folder);

    // Attaches to the module and hands over the axis table. With a settings seam the module's
    // settings files lie in a folder of this host's own, empty at first and gone with the host.
    explicit TestHost(KdvSignal kdvSignal, SettingsSeam useSettingsFolder = nullptr);
    ~TestHost();

    void attach();
    // Opens (or activates) the operator window; returns the form. Without a settings file it
    // first writes one that holds the values the window is built with and no program, unless
    // `neutralSettings` is off: a missing file would load defaults and a program path of " ".
    QWidget* open(LanguageChoice language = LanguageEnglish);
    bool neutralSettings = true;
    void setLanguage(LanguageChoice language);
    // Chooses item `index` of the named combo as the operator does: the item, then the activated
    // signal.
    void choose(const QString& combo, int index) const;
    void chooseText(const QString& combo, const QString& text) const;
    // Chooses look-ahead mode "Open".
    void openLookAhead() const;

    // Deletes the main window, and the operator window in it, without closing either first, as
    // a careless host does; then shows a new one.
    void destroyMainWindowUnclosed();

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

    // The module's settings file: in the host's own folder when it was given a seam, else
    // beside the application, where only tests in a folder of their own may use it.
    QString settingsFile() const;

    // Writes a settings file holding the values the window is built with for `host`, no program.
    static void WriteNeutralSettings(const QString& file, const CrdResourceRecord& host);

private:
    void showMainWindow();

    KdvSignal kdvSignal;
    SettingsSeam useSettingsFolder;
    std::unique_ptr<QTemporaryDir> settingsDir;
    std::unique_ptr<QMainWindow> mainWindow;
};

#endif
