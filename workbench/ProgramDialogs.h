#ifndef KURVO_WORKBENCH_PROGRAMDIALOGS_H
#define KURVO_WORKBENCH_PROGRAMDIALOGS_H

#include <QString>

#include <optional>

class DryRunProcess;
class QWidget;

// Asks for the line of the program at `path` to go on at, proposing `proposed`; nothing when the
// operator declines, or says why not when there is no program to go on with.
std::optional<qsizetype> AskLineToRunFrom(QWidget* parent, const QString& path, qsizetype proposed);

// Whether to import a program of common G-code with what has no equivalent (`problem`) written
// as notes; or says why a program cannot be imported (`problem`) and returns false.
bool AskToImportWithNotes(QWidget* parent, const QString& problem, bool unsupported);

// A progress box following the dry run; its Cancel, and Esc, end the run. The box closes itself
// when the run finishes.
void ShowDryRunProgress(QWidget* parent, DryRunProcess* process);

// Says, once the load is done, that the program loaded goes past the machine's travel: "line 3:
// X goes 10.000 mm past its maximum 300 mm".
void WarnOfTravel(QWidget* parent, const QString& program, const QString& where);

#endif
