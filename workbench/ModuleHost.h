#ifndef KURVO_WORKBENCH_MODULEHOST_H
#define KURVO_WORKBENCH_MODULEHOST_H

#include "module/KurvoHost.h"
#include "planner/HostConfig.h"

#include <QLibrary>
#include <QObject>

class QMainWindow;

// The module as the host holds it: loaded as a plug-in and talked to through KDV_SIGNAL alone.
// One at a time: the module's lines and its resource list reach the host through plain
// functions.
class ModuleHost : public QObject
{
    Q_OBJECT

public:
    ModuleHost(const HostConfig& config, QObject* parent = nullptr);
    ~ModuleHost() override;

    // Loads the module and attaches to it; false with `error` set when it cannot.
    bool Load(const QString& path, QString& error);
    bool Loaded() const { return kdvSignal != nullptr; }
    // Opens the operator window in `host`'s MDI area, in `language`.
    void OpenWindow(QMainWindow* host, LanguageChoice language);
    void SetLanguage(LanguageChoice language);
    ModuleDescriptor Describe();

    // What the module calls to print a line; any thread.
    static HostMessageCallback MessageCallback();

signals:
    // A line the module printed, queued to the GUI thread in the order printed.
    void Message(const QString& line);

private:
    const HostConfig& config;
    QLibrary module;
    KdvSignalFunction kdvSignal = nullptr;
    LanguageChoice openedLanguage = LanguageChinese;
};

#endif
