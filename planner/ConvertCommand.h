#ifndef KURVO_PLANNER_CONVERTCOMMAND_H
#define KURVO_PLANNER_CONVERTCOMMAND_H

#include <QStringList>

// kurvo-workbench --convert IN OUT [--tolerance MM] [--skip-unsupported]: writes OUT, the
// common G-code program IN in the module's dialect, reports what it skipped or could only come
// near to, and returns the process's exit code (0, or 1 when IN cannot be read or converted, or
// OUT cannot be written).
int RunConvertCommand(const QStringList& arguments);

// Writes the conversion of the program at `path` to `written`; false with `error` set, naming
// the line, when it cannot. `report` gets what was skipped and what was only come near to.
bool WriteConvertedProgram(const QString& path, const QString& written, double tolerance,
                           bool skipUnsupported, QStringList& report, QString& error);

#endif
