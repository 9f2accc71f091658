#ifndef KURVO_COMMANDCATALOGUE_H
#define KURVO_COMMANDCATALOGUE_H

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The command types a table row can carry: their value columns, header labels, units,
// editors, column-1 choices and controller calls, in one table that the header, editor and
// sending code all read.

// Which value of a row a cell holds.
enum class RowField {
    X,
    Y,
    Z,
    A,
    Pos,
    XCenter,
    YCenter,
    ZCenter,
    SynVel,
    SynAcc,
    VelEnd,
    Radius,
    CircleDir,
    SegNum,
    Axis,
    DoType,
    DoMask,
    DoValue,
    DelayTime,
    DaChannel,
    DaValue,
    Modal,
    LimitType,
    StopType,
    InputType,
    InputIndex,
    LaserChannel,
};

// The unit a column's header tip names.
enum class ColumnUnit { None, Length, Speed, Acceleration, Milliseconds };

// What a value cell holds, and so how it is edited and read.
enum class CellKind {
    Position,
    Speed,
    SegNum,
    CircleDir,
    CircleDirYZ,
    Count,        // delay, analogue value, modal
    LaserChannel, // starts at 1
    AxisChoice,   // choice "1" to "12" in column 1
    DoTypeChoice, // choice "ENABLE", "CLEAR", "GPO" in column 1
    HexItem,      // plain item, hexadecimal text
    TypedItem,    // plain item the operator types into
};

// What an editor of a value cell accepts: a number from `bottom` to `top`, with `decimals`
// places (none for whole numbers).
struct CellRange
{
    double bottom;
    double top;
    int decimals;
};
// The range of an edited kind; none for choices and plain items.
std::optional<CellRange> EditorRange(CellKind kind);

struct CommandColumn
{
    const char* label;
    RowField field;
    ColumnUnit unit;
    CellKind cell;
};

enum class CommandFamily { Linear, Arc, Auxiliary };

// Whether a row of the type gets editors from its columns.
enum class RowEditors {
    Created, // editors and items as its columns say
    None,    // none: the operator types into plain cells
    Unknown, // the name has headers but no row form: asking for its editors is an error
};

class RowSend;
// Buffers a row; returns the controller's code (7 without a call when the host's factors for
// an axis it needs are missing).
using RowCall = short (*)(const RowSend& row);

// What the walk over the table does at a row of the type.
enum class WalkRule {
    Send,    // reads and sends the row, then goes on
    EndsWalk // stops: there is no controller command for it
};

struct CommandType
{
    QString name;
    CommandFamily family;
    // Columns 1 on; the header shows them after "CrdID" (motion) or "BufID".
    std::vector<CommandColumn> columns;
    RowEditors editors;
    // The choice a new row gets in column 1 (axis or output type); empty for none.
    QStringList columnOneChoices;
    // The call with look-ahead closed, and with it open; a null call sends nothing.
    RowCall plainCall;
    RowCall exCall;
    WalkRule walk;
};

// The output types a digital-output row chooses from; the code of each is 10 + its position.
const QStringList& OutputTypeChoices();

// The type named exactly `name`, or null for a name outside the catalogue (the walk over the
// table stops there too).
const CommandType* FindCommandType(const QString& name);

// The types the "BufData Type:" choice offers when the window is built, before a dimension or
// mode is chosen.
QStringList CommandTypesAtStart();

// The types the "BufData Type:" choice offers for a dimension of 1 to 5 and a look-ahead mode.
QStringList OfferedCommandTypes(int dimension, bool lookAheadOpen);

#endif
