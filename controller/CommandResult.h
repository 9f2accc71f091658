#ifndef KURVO_COMMANDRESULT_H
#define KURVO_COMMANDRESULT_H

#include "module/HostTypes.h"

// Not a controller code: asks ReportCommandResult to print the name as a line of its own.
constexpr short ReportTextOnly = 9527;

// Shows a failed controller call in a modal box ("name = code" and the code's meaning) and
// returns the code as shown. Code 0 shows nothing. GUI thread only.
short ShowCommandError(const char* name, short code);

// Prints "name = code" in the host's output, or the name alone for ReportTextOnly. Code 0
// prints nothing. Without a callback the line goes to Qt's message log. Any thread.
void ReportCommandResult(const char* name, short code, HostMessageCallback callback);

// ReportCommandResult through the callback the host handed over last. GUI thread: the streaming
// worker reports through the copy it took when it was made.
void ReportToHost(const char* name, short code);

// The fixed English meaning of a controller return code, untranslated.
const char* CommandResultText(short code);

#endif
