#ifndef KURVO_TESTS_TABLEROWS_H
#define KURVO_TESTS_TABLEROWS_H

#include <QStringList>

class QWidget;
class TestHost;

// Adds a command-table row of `type` as the operator does, then types `cells` into columns
// 1 on: into the editor, the choice or a plain item, whichever the cell holds; an empty text
// leaves the cell as the row came.
void AddTableRow(TestHost& host, QWidget* form, const QString& type, const QStringList& cells);

#endif
