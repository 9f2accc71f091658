#ifndef KURVO_BLENDING_H
#define KURVO_BLENDING_H

#include <QString>

// Sends the blending parameters of "FilterPrm.ini" in the settings folder to the current
// coordinate system, when the file's "active" is not -1. Returns the problem that stopped it,
// empty when none did.
QString ApplyFilterPrm();

// The same for the file at `path`: a file that cannot be read as INI, or a value that is no
// number, is a problem; a missing file or "active" -1 sends nothing. Reports the call to the
// host.
QString ApplyBlendingFile(const QString& path);

#endif
