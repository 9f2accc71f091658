#ifndef KURVO_COMMANDRESULT_H
#define KURVO_COMMANDRESULT_H

#include "module/HostTypes.h"

// Not a controller code: asks ReportCommandResult to print the name as a line of its own.
constexpr short ReportTextOnly = 9527;

// What a failed controller call says to the operator: "name = code" and the code's meaning.
QString CommandErrorText(const char* name, short code);

// The code as the operator sees it: the EtherCAT codes in the controller's short form, -8 to -10.
short ShownCode(short code);

// Prints "name = code" in the host's output, or the name alone for ReportTextOnly. Code 0
// prints nothing. Without a callback the line goes to Qt's message log. Any thread.
void ReportCommandResult(const char* name, short code, HostMessageCallback callback);

// ReportCommandResult through the callback the host handed over last. GUI thread: the streaming
// worker reports through the copy it took when it was made.
void ReportToHost(const char* name, short code);

// The fixed English meaning of a controller return code, untranslated.
const char* CommandResultText(short code);

#endif
