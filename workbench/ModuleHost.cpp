#include "workbench/ModuleHost.h"

#include <QMainWindow>
#include <QMutex>

namespace {

// The module calls back through plain functions, from any thread; they reach the one host
// through this, under its lock, so that no line is handed to a host being destroyed.
struct CurrentHost
{
    QMutex lock;
    ModuleHost* host = nullptr;
    CrdResourceRecord resource{};
};

CurrentHost& currentHost()
{
    static CurrentHost current;
    return current;
}

void hostMessage(QString line)
{
    CurrentHost& current = currentHost();
    const QMutexLocker locked(&current.lock);
    if (current.host)
        QMetaObject::invokeMethod(
            current.host, [host = current.host, line] { emit host->Message(line); },
            Qt::QueuedConnection);
}

QList<CrdResourceRecord> hostResources()
{
    CurrentHost& current = currentHost();
    const QMutexLocker locked(&current.lock);
    return {current.resource};
}

} // namespace

ModuleHost::ModuleHost(const HostConfig& hostConfig, QObject* parent)
    : QObject(parent)
    , config(hostConfig)
{
    CurrentHost& current = currentHost();
    const QMutexLocker locked(&current.lock);
    current.host = this;
    current.resource = config.resource;
}

ModuleHost::~ModuleHost()
{
    CurrentHost& current = currentHost();
    const QMutexLocker locked(&current.lock);
    current.host = nullptr;
}

bool ModuleHost::Load(const QString& path, QString& error)
{
    module.setFileName(path);
    if (!module.load()) {
        error = QStringLiteral("cannot load the module %1: %2").arg(path, module.errorString());
        return false;
    }
    kdvSignal = reinterpret_cast<KdvSignalFunction>(module.resolve("KDV_SIGNAL"));
    if (!kdvSignal) {
        error = QStringLiteral("the module %1 has no KDV_SIGNAL").arg(path);
        module.unload();
        return false;
    }
    kdvSignal(SignalAttachHost, reinterpret_cast<void*>(MessageCallback()),
              reinterpret_cast<void*>(&hostResources), nullptr);
    kdvSignal(SignalSetAxisTable, config.axisTable.get(), nullptr, nullptr);
    return true;
}

void ModuleHost::OpenWindow(QMainWindow* host, LanguageChoice language)
{
    // The module may keep the language's address until the window opens.
    openedLanguage = language;
    if (kdvSignal)
        kdvSignal(SignalOpenWindow, host, &openedLanguage, nullptr);
}

void ModuleHost::SetLanguage(LanguageChoice language)
{
    openedLanguage = language;
    if (kdvSignal)
        kdvSignal(SignalSetLanguage, &openedLanguage, nullptr, nullptr);
}

ModuleDescriptor ModuleHost::Describe()
{
    ModuleDescriptor descriptor{};
    if (kdvSignal)
        kdvSignal(SignalDescribe, nullptr, &descriptor, nullptr);
    return descriptor;
}

HostMessageCallback ModuleHost::MessageCallback()
{
    return &hostMessage;
}
