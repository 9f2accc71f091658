#include "form/ErrorBoxes.h"

#include "controller/CommandResult.h"

#include <QMessageBox>
#include <QPushButton>

short ShowCommandError(const char* name, short code)
{
    if (code == 0)
        return 0;
    QMessageBox box(QMessageBox::Information, QObject::tr("Command Return Error:"),
                    CommandErrorText(name, code), QMessageBox::Yes | QMessageBox::Discard, nullptr,
                    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    // The box has always shown "No" on its Yes button and "Yes" on its Discard button.
    box.button(QMessageBox::Yes)->setText(QObject::tr("No"));
    box.button(QMessageBox::Discard)->setText(QObject::tr("Yes"));
    box.setDefaultButton(QMessageBox::Discard);
    // Esc, and a host or test closing the box, give the default answer: a box without an
    // escape button ignores its close and would hold everyone up.
    box.setEscapeButton(QMessageBox::Discard);
    box.exec();
    return ShownCode(code);
}

void ShowProblem(const QString& problem)
{
    if (!problem.isEmpty())
        QMessageBox::information(nullptr, QObject::tr("Error:"), problem);
}
