#ifndef KURVO_SETTINGSFOLDER_H
#define KURVO_SETTINGSFOLDER_H

#include <QString>

// The folder of the module's settings files, "Crd.ini" and "FilterPrm.ini": the host
// application's directory + "/modules", unless pointed elsewhere. GUI thread.
QString SettingsFolder();

// Points the settings files at `folder`; an empty text goes back to the application's. Tests use
// it to keep their files apart from the host's.
void SetSettingsFolder(const QString& folder);

#endif
