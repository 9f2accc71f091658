#include "crd/SettingsFolder.h"

#include "module/ModuleState.h"

#include <QCoreApplication>

QString SettingsFolder()
{
    const QString& chosen = moduleState().settingsFolder;
    return chosen.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/modules")
                            : chosen;
}

void SetSettingsFolder(const QString& folder)
{
    moduleState().settingsFolder = folder;
}
