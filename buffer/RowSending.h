#ifndef KURVO_ROWSENDING_H
#define KURVO_ROWSENDING_H

#include "buffer/BufRowValues.h"
#include "buffer/CommandCalls.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

// A row of the command table as its cells read: its type name and the texts of its columns.
struct TableRow
{
    QString type;
    RowTexts cells;

    bool operator==(const TableRow& other) const
    {
        return type == other.type && cells == other.cells;
    }
};

// The host's factors of the axes X to C on the given profiles (0: none) of `core`; an axis whose
// core or profile the host's table does not cover, or whose factors are unusable, has none.
AxisFactorSet AxisFactors(const HostAxisTable* table, int core, const int (&profiles)[5]);

// The texts a new row's editors start with for `values`: what a row seeded from them sends.
RowTexts InitialRowTexts(const CommandType& type, const BufRowValues& values);

// Called for every row sent or refused: the name it is reported under (its type without "Ex"),
// the controller's code, and whether the row is one whose code is shown.
using RowReport = std::function<void(const QByteArray& label, short code, bool shown)>;

// Sends the rows in order, each through its type's call with look-ahead open or closed, until a
// row whose type the catalogue does not know or whose walk ends there. The values carry over
// from row to row as the columns of a type are read into them; velEnd alone is cleared, so that
// a type without it sends 0. A row whose cells cannot be read is refused with 7.
void SendRows(const std::vector<TableRow>& rows, bool lookAheadOpen, const ControllerAddress& to,
              const AxisFactorSet& factors, const LaserFollow& laser, const RowReport& report);

#endif
