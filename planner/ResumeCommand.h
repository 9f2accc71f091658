#ifndef KURVO_WORKBENCH_RESUMECOMMAND_H
#define KURVO_WORKBENCH_RESUMECOMMAND_H

#include <QStringList>

// kurvo-workbench --resume-from LINE PROGRAM: prints the program Run from line would load to go
// on with PROGRAM at LINE, and returns the process's exit code (0, or 1 when the program cannot
// be read or has no such line).
int RunResumeCommand(const QStringList& arguments);

#endif
