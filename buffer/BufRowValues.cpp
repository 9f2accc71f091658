#include "buffer/BufRowValues.h"

#include "crd/CrdRecords.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

#include <algorithm>
#include <cmath>

namespace {

short truncateToInt16(double value)
{
    return short(std::clamp(TruncateToInt32(value), -32768, 32767));
}

double* doubleField(BufRowValues& v, RowField field)
{
    switch (field) {
    case RowField::X:
        return &v.x;
    case RowField::Y:
        return &v.y;
    case RowField::Z:
        return &v.z;
    case RowField::A:
        return &v.a;
    case RowField::Pos:
        return &v.pos;
    case RowField::XCenter:
        return &v.xCenter;
    case RowField::YCenter:
        return &v.yCenter;
    case RowField::ZCenter:
        return &v.zCenter;
    case RowField::SynVel:
        return &v.synVel;
    case RowField::SynAcc:
        return &v.synAcc;
    case RowField::VelEnd:
        return &v.velEnd;
    case RowField::Radius:
        return &v.radius;
    default:
        return nullptr;
    }
}

short* shortField(BufRowValues& v, RowField field)
{
    switch (field) {
    case RowField::CircleDir:
        return &v.circleDir;
    case RowField::Axis:
        return &v.axis;
    case RowField::Modal:
        return &v.modal;
    case RowField::LimitType:
        return &v.limitType;
    case RowField::DoType:
        return &v.doType;
    case RowField::DoMask:
        return &v.doMask;
    case RowField::DoValue:
        return &v.doValue;
    case RowField::DelayTime:
        return &v.delayTime;
    case RowField::DaChannel:
        return &v.daChannel;
    case RowField::DaValue:
        return &v.daValue;
    case RowField::StopType:
        return &v.stopType;
    case RowField::InputType:
        return &v.inputType;
    case RowField::InputIndex:
        return &v.inputIndex;
    default:
        return nullptr;
    }
}

// The code of `text` among `names` (code = position), or -1.
int codeOf(const QString& text, std::initializer_list<const char*> names)
{
    int code = 0;
    for (const char* name : names) {
        if (text == QLatin1String(name))
            return code;
        ++code;
    }
    return -1;
}

int doTypeCode(const QString& text)
{
    const int position = int(OutputTypeChoices().indexOf(text));
    return position < 0 ? -1 : 10 + position;
}

class CellReader
{
public:
    CellReader(const QTableWidget& table, int row)
        : table(table)
        , row(row)
    {}

    const QLineEdit* editor(int column) const
    {
        return qobject_cast<const QLineEdit*>(table.cellWidget(row, column));
    }
    const QComboBox* choice() const
    {
        return qobject_cast<const QComboBox*>(table.cellWidget(row, 1));
    }
    const QTableWidgetItem* item(int column) const { return table.item(row, column); }

private:
    const QTableWidget& table;
    int row;
};

} // namespace

bool ReadRow(const QTableWidget& table, int row, const CommandType& type, RowReading reading,
             BufRowValues& values)
{
    const CellReader cells(table, row);
    bool complete = true;
    for (std::size_t i = 0; i < type.columns.size(); ++i) {
        const CommandColumn& column = type.columns[i];
        const int at = int(i) + 1;
        switch (column.cell) {
        case CellKind::AxisChoice:
        case CellKind::DoTypeChoice: {
            const QComboBox* choice = cells.choice();
            if (!choice) {
                complete = false;
                break;
            }
            values.choiceText = choice->currentText();
            if (column.field == RowField::Axis)
                values.axis = short(choice->currentIndex() + 1);
            else if (column.field == RowField::DaChannel)
                values.daChannel = choice->currentText().toShort();
            else if (const int code = doTypeCode(values.choiceText); code >= 0)
                values.doType = short(code);
            else
                complete = false;
            break;
        }
        case CellKind::HexItem:
        case CellKind::TypedItem: {
            const QTableWidgetItem* item = cells.item(at);
            const QString text = item ? item->text().trimmed() : QString();
            complete &= item != nullptr;
            if (column.cell == CellKind::HexItem) {
                *shortField(values, column.field) = short(text.toInt(nullptr, 16));
            } else if (column.field == RowField::LimitType || column.field == RowField::InputType) {
                values.choiceText = text;
                const int code = column.field == RowField::LimitType
                                     ? codeOf(text, {"Lmts_positive", "Lmts_negative"})
                                     : codeOf(text, {"Lmts_positive", "Lmts_negative", "ALARM",
                                                     "HOME", "GPI", "ARRIVE"});
                if (code >= 0)
                    *shortField(values, column.field) = short(code);
                else
                    complete = false;
            } else {
                *shortField(values, column.field) = truncateToInt16(text.toDouble());
            }
            break;
        }
        default: {
            const QLineEdit* editor = cells.editor(at);
            if (!editor) {
                complete = false;
                break;
            }
            const QString text = editor->text();
            const double number = text.toDouble();
            if (double* field = doubleField(values, column.field)) {
                *field = number;
            } else if (column.field == RowField::SegNum) {
                values.SegNum
                    = reading == RowReading::Seeding ? text.toShort() : TruncateToInt32(number);
            } else if (column.field == RowField::DaValue && reading == RowReading::Sending) {
                values.daValue = text.toShort();
            } else if (short* field = shortField(values, column.field)) {
                *field = truncateToInt16(number);
            }
            break;
        }
        }
    }
    return complete;
}

QString InitialText(const BufRowValues& values, RowField field)
{
    BufRowValues copy = values;
    if (const double* number = doubleField(copy, field))
        return QString::number(*number, 'f', 3);
    if (field == RowField::SegNum)
        return QString::number(values.SegNum);
    if (field == RowField::LaserChannel)
        return QStringLiteral("1");
    const short* number = shortField(copy, field);
    return number ? QString::number(*number) : QString();
}
