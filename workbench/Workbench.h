#ifndef KURVO_WORKBENCH_WORKBENCH_H
#define KURVO_WORKBENCH_WORKBENCH_H

#include "BackgroundWork.h"
#include "FormProbe.h"
#include "HostConfig.h"
#include "PathPlot.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QLocale>
#include <QMainWindow>
#include <QPointer>
#include <QTemporaryDir>

#include <cstdint>
#include <optional>
#include <vector>

class BackplotView;
class DryRunProcess;
class MachineWatch;
class QLabel;
class QMdiArea;
class QMenu;
class QPlainTextEdit;

// The stand-in host: a main window with an MDI area and an output pane, which loads the
// module and talks to it through KDV_SIGNAL as the real host does.
class Workbench : public QMainWindow
{
    Q_OBJECT

public:
    using KdvSignal = int32_t (*)(int16_t signal, void* first, void* second, void* unused);

    // `configPath` names the file `config` came from, for the dry runs; empty for the defaults.
    explicit Workbench(HostConfig config, QString configPath = QString(),
                       QWidget* parent = nullptr);
    ~Workbench() override;

    // Loads the module and attaches to it; false with `error` set when it cannot.
    bool loadModule(const QString& path, QString& error);
    void openOperatorWindow();
    // The language of the windows opened from now on.
    void setOpeningLanguage(LanguageChoice choice) { language = choice; }
    // Switches the open window too.
    void setLanguage(LanguageChoice language);
    ModuleDescriptor describe();

    // The window's language for a system locale: "zh" for a Chinese one, else "en".
    static QString LanguageOf(const QLocale& locale);

    // What the module calls to print a line; any thread.
    static HostMessageCallback messageCallback();

    QMdiArea* mdiArea() const { return area; }
    QStringList outputLines() const;
    BackplotView* backplot() const { return plot; }
    QString progressText() const;

    // Puts the program into the operator window and loads it there; remembers it as recent.
    void openProgram(const QString& path);
    // Plans the program the window holds in the background: its path shown in the backplot
    // before the machine moves, and the lines the dialect reads otherwise in the output pane.
    void previewProgram(const QString& path);
    // Loads into the operator window what goes on with `path` at `line` as if the program had
    // run up to it (a lead-in, then the rest), in a file of its own; false when `path` cannot be
    // read or the file written.
    bool runFrom(const QString& path, qsizetype line);
    // Plans the program in a process of its own, with a progress box; the figures go to the
    // output pane and the timetable to the run's time left.
    void dryRun(const QString& path);
    // The executable that makes dry runs: this one, unless the workbench lives in another.
    void setDryRunExecutable(const QString& path) { dryRunExecutable = path; }

public slots:
    void appendOutput(const QString& line);
    // Calls the operator window's stop by its name, as the toolbar's Stop and Esc do.
    void stopMotion();
    // Presses the operator window's set-up and start buttons, as an operator does first.
    void initialiseAndStart();

signals:
    void dryRunFinished(bool ok);
    void previewShown();

protected:
    // Esc stops the machine from anywhere in the workbench: while a job runs or stands paused,
    // also from its dialogs, before the dialog's own Esc.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createMenus();
    void createBackplotDock();
    void showDescription();
    QString askForProgram(const QString& title);
    void chooseProgram();
    void chooseDryRun();
    void rememberProgram(const QString& path);
    void fillRecentMenu();
    void planInBackground(const QString& path);
    // With `pathFile`, the planned path goes into it too.
    DryRunProcess* startDryRun(const QString& path, const QString& pathFile = QString());
    void reportProgramCheck(const QString& path, const QStringList& reportLines);
    void chooseLineToRunFrom();
    void previewWhatTheWindowHolds();

    HostConfig config;
    QString configPath;
    QString dryRunExecutable = QCoreApplication::applicationFilePath();
    QLibrary module;
    KdvSignal kdvSignal = nullptr;
    LanguageChoice language = LanguageChinese;
    QMdiArea* area = nullptr;
    QPlainTextEdit* output = nullptr;
    BackplotView* plot = nullptr;
    QLabel* progress = nullptr;
    QMenu* recentMenu = nullptr;
    FormProbe probe{this};
    MachineWatch* watch = nullptr;
    QPointer<DryRunProcess> backgroundPlan;
    QPointer<DryRunProcess> previewRun;
    QTemporaryDir previewFolder;
    BackgroundWork<std::optional<PreviewPath>> previewReader{this};
    // The Esc press being delivered: it passes the filter once for every widget it reaches.
    const QEvent* escapeBeingHandled = nullptr;
};

#endif
