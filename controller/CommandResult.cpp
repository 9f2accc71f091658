#include "controller/CommandResult.h"

#include "module/ModuleState.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QtDebug>

namespace {

struct CodeText
{
    short code;
    const char* text;
};

const CodeText codeTexts[] = {
    {1, QT_TRANSLATE_NOOP("QObject", "Command execution error!")},
    {3, QT_TRANSLATE_NOOP("QObject", "Version not Match!")},
    {7, QT_TRANSLATE_NOOP("QObject", "Parameter in command is error!")},
    {8, QT_TRANSLATE_NOOP("QObject", "Unknown Command!")},
    {-1, QT_TRANSLATE_NOOP("QObject", "Host failed to communicate with motion controller!")},
    {-2, QT_TRANSLATE_NOOP("QObject", "Read data length error!")},
    {-3, QT_TRANSLATE_NOOP("QObject", "Read data checksum error!")},
    {-4, QT_TRANSLATE_NOOP("QObject", "Write data block error!")},
    {-5, QT_TRANSLATE_NOOP("QObject", "Read data block error!")},
    {-6, QT_TRANSLATE_NOOP("QObject", "Open motion controller error!")},
    {-7, QT_TRANSLATE_NOOP("QObject", "No respond! DSP is busying!")},
    {-8, QT_TRANSLATE_NOOP("QObject", "Multi-thread resources busy!")},
    {-1008, QT_TRANSLATE_NOOP("QObject", "eni file config error!")},
    {-1009, QT_TRANSLATE_NOOP("QObject", "No eni file found!")},
    {-1010, QT_TRANSLATE_NOOP("QObject", "No EtherCAT slave connected!")},
};

const char* const unknownResult = QT_TRANSLATE_NOOP("QObject", "Unknown Result!");

QString translated(const char* text)
{
    return QCoreApplication::translate("QObject", text);
}

// The EtherCAT codes are shown in the controller's short form, -8 to -10.
short shownCode(short code)
{
    return (code <= -1008 && code >= -1010) ? short(code + 1000) : code;
}

} // namespace

const char* CommandResultText(short code)
{
    for (const CodeText& entry : codeTexts) {
        if (entry.code == code)
            return entry.text;
    }
    return unknownResult;
}

short ShowCommandError(const char* name, short code)
{
    if (code == 0)
        return 0;
    const QString meaning = translated(CommandResultText(code));
    code = shownCode(code);
    const QString message = QObject::tr("%1 = %2\r\n----%3")
                                .arg(QString::fromUtf8(name), QString::number(code), meaning);

    QMessageBox box(QMessageBox::Information, QObject::tr("Command Return Error:"), message,
                    QMessageBox::Yes | QMessageBox::Discard, nullptr,
                    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    // The box has always shown "No" on its Yes button and "Yes" on its Discard button.
    box.button(QMessageBox::Yes)->setText(QObject::tr("No"));
    box.button(QMessageBox::Discard)->setText(QObject::tr("Yes"));
    box.setDefaultButton(QMessageBox::Discard);
    // Esc, and a host or test closing the box, give the default answer: a box without an
    // escape button ignores its close and would hold everyone up.
    box.setEscapeButton(QMessageBox::Discard);
    box.exec();
    return code;
}

void ReportToHost(const char* name, short code)
{
    ReportCommandResult(name, code, moduleState().hostMessage);
}

void ReportCommandResult(const char* name, short code, HostMessageCallback callback)
{
    if (code == 0)
        return;
    const QString text = QString::fromUtf8(name);
    const QString line = code == ReportTextOnly
                             ? QObject::tr("%1").arg(text)
                             : QObject::tr("%1 = %2").arg(text, QString::number(code));
    if (callback)
        callback(line);
    else
        qInfo().noquote() << line;
}
