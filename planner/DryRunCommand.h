#ifndef KURVO_WORKBENCH_DRYRUNCOMMAND_H
#define KURVO_WORKBENCH_DRYRUNCOMMAND_H

#include <QStringList>

// kurvo-workbench --dry-run PROGRAM [--config FILE] [--progress]: prints the figures of the dry
// run and returns the process's exit code (0, or 1 when the program cannot be read).
// --progress adds "progress LINES OF" and, at the end, "plan SEGMENTS MS" lines for a caller
// that shows them.
int RunDryRunCommand(const QStringList& arguments);

#endif
