#include "controller/CommandResult.h"

#include "module/ModuleState.h"

#include <QCoreApplication>
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

} // namespace

const char* CommandResultText(short code)
{
    for (const CodeText& entry : codeTexts) {
        if (entry.code == code)
            return entry.text;
    }
    return unknownResult;
}

QString CommandErrorText(const char* name, short code)
{
    const QString meaning = translated(CommandResultText(code));
    return QObject::tr("%1 = %2\r\n----%3")
        .arg(QString::fromUtf8(name), QString::number(ShownCode(code)), meaning);
}

short ShownCode(short code)
{
    return (code <= -1008 && code >= -1010) ? short(code + 1000) : code;
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
