#ifndef KURVO_WORKBENCH_RECENTPROGRAMS_H
#define KURVO_WORKBENCH_RECENTPROGRAMS_H

#include <QStringList>

// The programs opened last, the latest first, each once; at most `kept`.
QStringList WithRecent(QStringList recent, const QString& program, int kept = 8);

// The list in the workbench's own settings.
QStringList ReadRecentPrograms();
void WriteRecentPrograms(const QStringList& recent);

#endif
