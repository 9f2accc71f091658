#ifndef KURVO_BLENDING_H
#define KURVO_BLENDING_H

#include <QString>

// Sends the blending parameters of "FilterPrm.ini" in the settings folder to the current
// coordinate system, when the file's "active" is not -1.
void ApplyFilterPrm();

// The same for the file at `path`: a file that cannot be read as INI shows an error box; a
// missing file or "active" -1 sends nothing. Reports the call to the host.
void ApplyBlendingFile(const QString& path);

#endif
