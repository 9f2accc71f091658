#ifndef KURVO_ERRORBOXES_H
#define KURVO_ERRORBOXES_H

class QString;

// Shows a failed controller call in a modal box ("name = code" and the code's meaning) and
// returns the code as shown. Code 0 shows nothing. GUI thread only.
short ShowCommandError(const char* name, short code);

// Shows a problem in the modal "Error:" box; an empty problem shows nothing.
void ShowProblem(const QString& problem);

#endif
