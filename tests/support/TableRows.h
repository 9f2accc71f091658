#ifndef KURVO_TESTS_TABLEROWS_H
#define KURVO_TESTS_TABLEROWS_H

#include <QStringList>

class QWidget;
class TestHost;

// Chooses `type` in the type combo and presses Add: the row goes below the current row, or
// last. False when the form has no such slot.
bool AddRowOfType(TestHost& host, QWidget* form, const QString& type);

// Adds a command-table row of `type` as the operator does, then types `cells` into columns
// 1 on: into the editor, the choice or a plain item, whichever the cell holds; an empty text
// leaves the cell as the row came.
void AddTableRow(TestHost& host, QWidget* form, const QString& type, const QStringList& cells);

// The type names of the command table's rows.
QStringList TableRowTypes(const TestHost& host);

// What columns 1 to `count` of `row` hold: an editor's text, "choice:" and a choice's text,
// "item:" and an item's text, or "-" for an empty cell.
QStringList TableRowCells(const TestHost& host, int row, int count);

#endif
