#ifndef KURVO_TESTS_JOURNAL_H
#define KURVO_TESTS_JOURNAL_H

#include <QStringList>

// Switches the virtual controller's journal on, empty.
void StartJournal();

// The virtual controller's journal, oldest call first.
QStringList Journal();

// The journal without the queries of the window's status timer, which runs whenever a test
// lets events through.
QStringList CommandJournal();

#endif
