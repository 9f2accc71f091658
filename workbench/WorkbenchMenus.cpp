// The workbench's menus and toolbar: every action with a shortcut of its own, and the Help page
// that lists them.
#include "workbench/Workbench.h"

#include "workbench/TranslatedTexts.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QToolBar>

namespace {

QAction* WithShortcut(QAction* action, const QKeySequence& keys, const char* name)
{
    action->setShortcut(keys);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

void Workbench::createMenus()
{
    QMenu* moduleMenu = menuBar()->addMenu(QString());
    QAction* openWindow
        = WithShortcut(moduleMenu->addAction(QString(), this, &Workbench::openOperatorWindow),
                       QKeySequence(QStringLiteral("Ctrl+Shift+W")), "openWindowAction");
    QMenu* languageMenu = moduleMenu->addMenu(QString());
    QAction* chinese = WithShortcut(
        languageMenu->addAction(QString(), this, [this] { setLanguage(LanguageChinese); }),
        QKeySequence(QStringLiteral("Ctrl+Alt+Z")), "chineseAction");
    QAction* english = WithShortcut(
        languageMenu->addAction(QString(), this, [this] { setLanguage(LanguageEnglish); }),
        QKeySequence(QStringLiteral("Ctrl+Alt+E")), "englishAction");
    QAction* describe
        = WithShortcut(moduleMenu->addAction(QString(), this, &Workbench::showDescription),
                       QKeySequence(QStringLiteral("Ctrl+Alt+D")), "describeAction");
    moduleMenu->addSeparator();
    QAction* quit = WithShortcut(moduleMenu->addAction(QString(), this, &QWidget::close),
                                 QKeySequence(QStringLiteral("Ctrl+Q")), "quitAction");

    QMenu* programMenu = menuBar()->addMenu(QString());
    QAction* open = WithShortcut(programMenu->addAction(QString(), this, &Workbench::chooseProgram),
                                 QKeySequence(QStringLiteral("Ctrl+O")), "openProgramAction");
    recentMenu = programMenu->addMenu(QString());
    recentMenu->setObjectName(QStringLiteral("recentMenu"));
    fillRecentMenu();
    QAction* dryRun
        = WithShortcut(programMenu->addAction(QString(), this, &Workbench::chooseDryRun),
                       QKeySequence(QStringLiteral("Ctrl+D")), "dryRunAction");
    QAction* runFromLine
        = WithShortcut(programMenu->addAction(QString(), this, &Workbench::chooseLineToRunFrom),
                       QKeySequence(QStringLiteral("Ctrl+L")), "runFromLineAction");
    QAction* import
        = WithShortcut(programMenu->addAction(QString(), this, &Workbench::chooseImport),
                       QKeySequence(QStringLiteral("Ctrl+I")), "importAction");

    QMenu* helpMenu = menuBar()->addMenu(QString());
    QAction* shortcuts
        = WithShortcut(helpMenu->addAction(QString(), this, &Workbench::showShortcuts),
                       QKeySequence(QStringLiteral("F1")), "shortcutsAction");

    // The operator window has no Stop of its own: the host offers one, always in reach. Esc
    // reaches it from anywhere, dialogs included (EscapeStop), rather than as a shortcut.
    QToolBar* machine = addToolBar(QString());
    machine->setObjectName(QStringLiteral("machineToolBar"));
    QAction* stop = machine->addAction(QString(), this, &Workbench::stopMotion);
    stop->setObjectName(QStringLiteral("stopAction"));

    texts->Follow([=] {
        moduleMenu->setTitle(tr("&Module"));
        openWindow->setText(tr("&Open operator window"));
        languageMenu->setTitle(tr("&Language"));
        chinese->setText(tr("Chinese"));
        english->setText(tr("English"));
        describe->setText(tr("&Describe module"));
        quit->setText(tr("&Quit"));
        programMenu->setTitle(tr("&Program"));
        open->setText(tr("&Open..."));
        recentMenu->setTitle(tr("&Recent programs"));
        dryRun->setText(tr("&Dry run..."));
        runFromLine->setText(tr("Run from &line..."));
        import->setText(tr("&Import common G-code…"));
        helpMenu->setTitle(tr("&Help"));
        shortcuts->setText(tr("&Keyboard shortcuts"));
        machine->setWindowTitle(tr("Machine"));
        stop->setText(tr("Stop"));
        stop->setToolTip(tr("Stop the coordinate system at once (Esc)"));
    });
}

QStringList Workbench::shortcutLines() const
{
    QStringList lines{QStringLiteral("Esc\t") + tr("Stop")};
    const auto list = [&lines](const QMenu* menu, const auto& self) -> void {
        for (const QAction* action : menu->actions()) {
            if (action->menu())
                self(action->menu(), self);
            else if (!action->shortcut().isEmpty())
                lines << action->shortcut().toString(QKeySequence::NativeText) + QLatin1Char('\t')
                             + action->text().remove(QLatin1Char('&'));
        }
    };
    for (const QAction* menu : menuBar()->actions())
        list(menu->menu(), list);
    return lines;
}

void Workbench::showShortcuts()
{
    QMessageBox::information(this, tr("Keyboard shortcuts"),
                             shortcutLines().join(QLatin1Char('\n')));
}
