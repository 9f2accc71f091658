#include "buffer/BufRowValues.h"

#include "crd/CrdRecords.h"

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

} // namespace

bool ParseRow(const RowTexts& texts, const CommandType& type, RowReading reading,
              BufRowValues& values)
{
    bool complete = true;
    for (std::size_t i = 0; i < type.columns.size() && i < texts.size(); ++i) {
        const CommandColumn& column = type.columns[i];
        const RowCell& cell = texts[i];
        // An item cell without an item reads as empty; an editor or choice that is not there
        // leaves its field alone.
        const bool itemCell
            = column.cell == CellKind::HexItem || column.cell == CellKind::TypedItem;
        complete &= cell.present;
        if (!cell.present && !itemCell)
            continue;
        const QString& text = cell.text;
        switch (column.cell) {
        case CellKind::AxisChoice:
        case CellKind::DoTypeChoice:
            values.choiceText = text;
            if (column.field == RowField::Axis)
                values.axis = short(cell.choiceIndex + 1);
            else if (column.field == RowField::DaChannel)
                values.daChannel = text.toShort();
            else if (const int code = doTypeCode(text); code >= 0)
                values.doType = short(code);
            else
                complete = false;
            break;
        case CellKind::HexItem:
            *shortField(values, column.field) = short(text.toInt(nullptr, 16));
            break;
        case CellKind::TypedItem:
            if (column.field == RowField::LimitType || column.field == RowField::InputType) {
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
        default: {
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
