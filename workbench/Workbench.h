#ifndef KURVO_WORKBENCH_WORKBENCH_H
#define KURVO_WORKBENCH_WORKBENCH_H

#include "HostConfig.h"

#include <QLibrary>
#include <QMainWindow>

#include <cstdint>

class QMdiArea;
class QPlainTextEdit;

// The stand-in host: a main window with an MDI area and an output pane, which loads the
// module and talks to it through KDV_SIGNAL as the real host does.
class Workbench : public QMainWindow
{
    Q_OBJECT

public:
    using KdvSignal = int32_t (*)(int16_t signal, void* first, void* second, void* unused);

    explicit Workbench(HostConfig config, QWidget* parent = nullptr);
    ~Workbench() override;

    // Loads the module and attaches to it; false with `error` set when it cannot.
    bool loadModule(const QString& path, QString& error);
    void openOperatorWindow();
    // The language of the windows opened from now on.
    void setOpeningLanguage(LanguageChoice choice) { language = choice; }
    // Switches the open window too.
    void setLanguage(LanguageChoice language);
    ModuleDescriptor describe();

    // What the module calls to print a line; any thread.
    static HostMessageCallback messageCallback();

    QMdiArea* mdiArea() const { return area; }
    QStringList outputLines() const;

public slots:
    void appendOutput(const QString& line);
    // Calls the operator window's stop by its name, as the toolbar's Stop and Esc do.
    void stopMotion();

private:
    void createMenus();
    void showDescription();

    HostConfig config;
    QLibrary module;
    KdvSignal kdvSignal = nullptr;
    LanguageChoice language = LanguageChinese;
    QMdiArea* area = nullptr;
    QPlainTextEdit* output = nullptr;
};

#endif
