#ifndef KURVO_CRDSETTINGS_H
#define KURVO_CRDSETTINGS_H

#include "module/FileAccess.h"

#include <QString>
#include <QVariantMap>

// The group of Crd.ini the window reads: the core and coordinate system it names, and its keys
// as the settings class reads them.
struct CrdSettingsGroup
{
    short core = 1;
    short crd = 1;
    QVariantMap values;
};

// The group of the last core and coordinate system the file lists ("KurvoCore%1Crd%2"; 1 and 1
// when its core is no number; groups of other names skipped), with what it holds, possibly
// nothing. The file is one that CheckIniFile found readable or missing.
CrdSettingsGroup ReadCrdSettings(const QString& path);

// Sets `values` in the group of `core` and `crd` of the file at `path`, keeping its other groups
// and keys; as WriteIniFile does.
FileProblem WriteCrdSettings(const QString& path, short core, short crd, const QVariantMap& values);

#endif
