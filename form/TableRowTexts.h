#ifndef KURVO_TABLEROWTEXTS_H
#define KURVO_TABLEROWTEXTS_H

#include "buffer/BufRowValues.h"

class QTableWidget;

// The texts of the cells of `row` that the type's columns name.
RowTexts TakeRowTexts(const QTableWidget& table, int row, const CommandType& type);

// Reads the cells of `row` that the type's columns name into `values`; fields of columns the
// type lacks keep what they held. Returns false when a coded cell holds none of its names or a
// cell the type needs holds no editor, choice or item; what could be read is read all the same.
bool ReadRow(const QTableWidget& table, int row, const CommandType& type, RowReading reading,
             BufRowValues& values);

#endif
