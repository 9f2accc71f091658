#ifndef KURVO_TESTS_JOURNAL_H
#define KURVO_TESTS_JOURNAL_H

#include <QStringList>

#include <vector>

// Switches the virtual controller's journal on, empty.
void StartJournal();

// The virtual controller's journal, oldest call first.
QStringList Journal();

// A point of the virtual controller's record of the path: its simulated time and the positions
// of X, Y, Z, A and C in pulses.
struct RecordedPoint
{
    double ms = 0;
    double positions[5] = {};
};

// The virtual controller's record of the path, oldest point first.
std::vector<RecordedPoint> RecordedPath();

// The journal without the queries of the window's status timer, which runs whenever a test
// lets events through.
QStringList CommandJournal();

#endif
