// The workbench's menus and toolbar: every action with a shortcut of its own, and the Help page
// that lists them.
#include "workbench/Workbench.h"

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
    QMenu* moduleMenu = menuBar()->addMenu(QStringLiteral("&Module"));
    WithShortcut(moduleMenu->addAction(QStringLiteral("&Open operator window"), this,
                                       &Workbench::openOperatorWindow),
                 QKeySequence(QStringLiteral("Ctrl+Shift+W")), "openWindowAction");
    QMenu* languageMenu = moduleMenu->addMenu(QStringLiteral("&Language"));
    WithShortcut(languageMenu->addAction(QStringLiteral("Chinese"), this,
                                         [this] { setLanguage(LanguageChinese); }),
                 QKeySequence(QStringLiteral("Ctrl+Alt+Z")), "chineseAction");
    WithShortcut(languageMenu->addAction(QStringLiteral("English"), this,
                                         [this] { setLanguage(LanguageEnglish); }),
                 QKeySequence(QStringLiteral("Ctrl+Alt+E")), "englishAction");
    WithShortcut(moduleMenu->addAction(QStringLiteral("&Describe module"), this,
                                       &Workbench::showDescription),
                 QKeySequence(QStringLiteral("Ctrl+Alt+D")), "describeAction");
    moduleMenu->addSeparator();
    WithShortcut(moduleMenu->addAction(QStringLiteral("&Quit"), this, &QWidget::close),
                 QKeySequence(QStringLiteral("Ctrl+Q")), "quitAction");

    QMenu* programMenu = menuBar()->addMenu(QStringLiteral("&Program"));
    WithShortcut(
        programMenu->addAction(QStringLiteral("&Open..."), this, &Workbench::chooseProgram),
        QKeySequence(QStringLiteral("Ctrl+O")), "openProgramAction");
    recentMenu = programMenu->addMenu(QStringLiteral("&Recent programs"));
    recentMenu->setObjectName(QStringLiteral("recentMenu"));
    fillRecentMenu();
    WithShortcut(
        programMenu->addAction(QStringLiteral("&Dry run..."), this, &Workbench::chooseDryRun),
        QKeySequence(QStringLiteral("Ctrl+D")), "dryRunAction");
    WithShortcut(programMenu->addAction(QStringLiteral("Run from &line..."), this,
                                        &Workbench::chooseLineToRunFrom),
                 QKeySequence(QStringLiteral("Ctrl+L")), "runFromLineAction");
    WithShortcut(programMenu->addAction(QStringLiteral("&Import common G-code\u2026"), this,
                                        &Workbench::chooseImport),
                 QKeySequence(QStringLiteral("Ctrl+I")), "importAction");

    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    WithShortcut(
        helpMenu->addAction(QStringLiteral("&Keyboard shortcuts"), this, &Workbench::showShortcuts),
        QKeySequence(QStringLiteral("F1")), "shortcutsAction");

    // The operator window has no Stop of its own: the host offers one, always in reach. Esc
    // reaches it from anywhere, dialogs included (EscapeStop), rather than as a shortcut.
    QToolBar* machine = addToolBar(QStringLiteral("Machine"));
    machine->setObjectName(QStringLiteral("machineToolBar"));
    QAction* stop = machine->addAction(QStringLiteral("Stop"), this, &Workbench::stopMotion);
    stop->setObjectName(QStringLiteral("stopAction"));
    stop->setToolTip(QStringLiteral("Stop the coordinate system at once (Esc)"));
}

QStringList Workbench::shortcutLines() const
{
    QStringList lines{QStringLiteral("Esc\tStop")};
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
    QMessageBox::information(this, QStringLiteral("Keyboard shortcuts"),
                             shortcutLines().join(QLatin1Char('\n')));
}
