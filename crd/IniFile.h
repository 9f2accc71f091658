#ifndef KURVO_INIFILE_H
#define KURVO_INIFILE_H

#include "module/FileAccess.h"

#include <functional>

class QSettings;

// Crd.ini and FilterPrm.ini are settings files of a few kilobytes; beyond this size a file is
// no settings file of ours, and reading it would stall the window.
constexpr qint64 largestIniFile = 4 * 1024 * 1024;

// Why the settings file at `path` cannot be read: not a regular file, too large, or not
// parseable (decided alike at every call while the file stays as it is). A missing file reads
// as all defaults and gives Missing. GUI thread.
FileProblem CheckIniFile(const QString& path);

// Where settings meant for `path` are written (as FileToWrite), never over a file that cannot
// be read. GUI thread.
WriteTarget IniFileToWrite(const QString& path);

// Sets what `fill` sets into the settings file at `path` (a regular file, or nothing yet), and
// replaces the file only with a text known to be whole: the settings class replaces a file even
// when writing its new text failed half-way, on a full disk, and the old settings are lost.
// None, or NotWritten with the file left as it was. GUI thread.
FileProblem WriteIniFile(const QString& path, const std::function<void(QSettings&)>& fill);

#endif
