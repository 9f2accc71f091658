#ifndef KURVO_WORKBENCH_WORKBENCH_H
#define KURVO_WORKBENCH_WORKBENCH_H

#include "planner/HostConfig.h"
#include "planner/ProgramCheck.h"
#include "workbench/FormProbe.h"

#include <QLocale>
#include <QMainWindow>
#include <QTranslator>

class BackplotView;
class MachineWatch;
class ModuleHost;
class PlanningClient;
class RunStatus;
class TranslatedTexts;
class QMdiArea;
class QMenu;
class QPlainTextEdit;

// The stand-in host: a main window with an MDI area, an output pane and a backplot, which loads
// the module and talks to it through KDV_SIGNAL as the real host does (ModuleHost), watches the
// machine (MachineWatch) and plans programs in dry runs (PlanningClient).
class Workbench : public QMainWindow
{
    Q_OBJECT

public:
    // `configPath` names the file `config` came from, for the dry runs; empty for the defaults.
    explicit Workbench(HostConfig config, QString configPath = QString(),
                       QWidget* parent = nullptr);
    ~Workbench() override;

    // Loads the module and attaches to it; false with `error` set when it cannot.
    bool loadModule(const QString& path, QString& error);
    void openOperatorWindow();
    // The language of the workbench's texts and of the windows opened from now on.
    void setOpeningLanguage(LanguageChoice choice);
    // Switches the open window too.
    void setLanguage(LanguageChoice language);
    // Sizes the window as the workbench opens: as large as it likes, within the screen's room.
    void fitScreen();
    ModuleDescriptor describe();

    // The window's language for a system locale: "zh" for a Chinese one, else "en".
    static QString LanguageOf(const QLocale& locale);

    QMdiArea* mdiArea() const { return area; }
    QStringList outputLines() const;
    BackplotView* backplot() const { return plot; }
    MachineWatch* machineWatch() const { return watch; }
    const HostConfig& hostConfig() const { return config; }
    // "Ctrl+O\tOpen...": every action's shortcut, as the Help page lists them.
    QStringList shortcutLines() const;
    // A folder of the programs the workbench writes for the window: "resumed", "converted", ….
    static QString writtenProgramsFolder(const char* kind);
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
    // Writes the program of common G-code at `path` in the module's dialect, in a file of its
    // own, and loads that; false when it cannot be converted or written (and the operator does
    // not take notes for what has no equivalent).
    bool importCommonGCode(const QString& path);
    // Plans the program in a process of its own, with a progress box; the figures go to the
    // output pane and the timetable to the run's time left.
    void dryRun(const QString& path);
    // The executable that makes dry runs: this one, unless the workbench lives in another.
    void setDryRunExecutable(const QString& path);

public slots:
    void appendOutput(const QString& line);
    // Calls the operator window's stop by its name, as the toolbar's Stop and Esc do.
    void stopMotion();
    // Presses the operator window's set-up and start buttons, as an operator does first.
    void initialiseAndStart();

signals:
    void dryRunFinished(bool ok);
    void previewShown();

private:
    void createMenus();
    void showShortcuts();
    void createBackplotDock();
    void connectWatch();
    void showDescription();
    QString askForProgram(const QString& title);
    void chooseProgram();
    void chooseImport();
    void chooseDryRun();
    void rememberProgram(const QString& path);
    void fillRecentMenu();
    void reportProgramCheck(const QString& path, const CheckCounts& counts,
                            const QStringList& checkLines);
    void chooseLineToRunFrom();
    void previewWhatTheWindowHolds();

    HostConfig config;
    LanguageChoice language = LanguageChinese;
    QTranslator catalogue;
    TranslatedTexts* texts = nullptr;
    ModuleHost* module = nullptr;
    QMdiArea* area = nullptr;
    QPlainTextEdit* output = nullptr;
    BackplotView* plot = nullptr;
    RunStatus* runStatus = nullptr;
    QMenu* recentMenu = nullptr;
    FormProbe probe{this};
    MachineWatch* watch = nullptr;
    PlanningClient* planning = nullptr;
};

#endif
