#ifndef KURVO_PLANNER_CONVERTCOMMAND_H
#define KURVO_PLANNER_CONVERTCOMMAND_H

#include "planner/CommonGCode.h"

#include <QStringList>

// kurvo-workbench --convert IN OUT [--tolerance MM] [--skip-unsupported]: writes OUT, the
// common G-code program IN in the module's dialect, reports what it skipped or could only come
// near to, and returns the process's exit code (0, or 1 when IN cannot be read or converted, or
// OUT cannot be written).
int RunConvertCommand(const QStringList& arguments);

// What became of writing a conversion: `written`, or the `error` that kept it from being
// written, naming the line; `report` tells what was skipped and what was only come near to.
struct WrittenConversion
{
    bool written = false;
    bool unsupported = false; // the conversion ended at what has no equivalent
    QString error;
    QStringList report;
};

// Writes the conversion of the program at `path` to `written`.
WrittenConversion WriteConvertedProgram(const QString& path, const QString& written,
                                        const ConversionOptions& options);

#endif
