#ifndef KURVO_PLANNER_COMMANDLINE_H
#define KURVO_PLANNER_COMMANDLINE_H

#include <QString>

// Whether the command line holds `option` ("--dry-run"), alone or with "=" and its value: a
// command of its own rather than the window.
bool AsksForCommand(int argc, char** argv, const char* option);

// Prints "kurvo-workbench: MESSAGE" on the error stream; returns `exitCode`.
int Complain(const QString& message, int exitCode = 1);

#endif
