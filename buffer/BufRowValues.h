#ifndef KURVO_BUFROWVALUES_H
#define KURVO_BUFROWVALUES_H

#include "buffer/CommandCatalogue.h"

#include <QString>

#include <cstdint>
#include <vector>

// The values of one command-table row.
struct BufRowValues
{
    double x = 0, y = 0, z = 0, a = 0, pos = 0;
    double xCenter = 0, yCenter = 0, zCenter = 0;
    double synVel = 0, synAcc = 0, velEnd = 0, radius = 0;
    short circleDir = 0;
    short axis = 0;
    short modal = 0;
    short limitType = 0;
    int32_t SegNum = 0;
    QString choiceText;
    short doType = 0;
    short doMask = 0;
    short doValue = 0;
    short delayTime = 0;
    short daChannel = 0;
    short daValue = 0;
    short stopType = 0;
    short inputType = 0;
    short inputIndex = 0;
};

// Seeding reads a row to propose the values of a new one; sending reads it for the controller.
// They differ in a few columns: the segment number and the analogue value.
enum class RowReading { Seeding, Sending };

// What one of a row's cells holds: the text of its editor, item or choice (and the choice's
// entry), or nothing when the cell has none.
struct RowCell
{
    bool present = false;
    QString text;
    int choiceIndex = -1;

    bool operator==(const RowCell& other) const
    {
        return present == other.present && text == other.text && choiceIndex == other.choiceIndex;
    }
};
// A row's cells, one per column of its type.
using RowTexts = std::vector<RowCell>;

// Parses a row's texts into `values`; fields of columns the type lacks keep what they held.
// Returns false when a coded cell holds none of its names or a cell the type needs is absent;
// what could be parsed is parsed all the same.
bool ParseRow(const RowTexts& texts, const CommandType& type, RowReading reading,
              BufRowValues& values);

// The text a new editor of `field` starts with: doubles with 3 decimals, integers in decimal.
QString InitialText(const BufRowValues& values, RowField field);

#endif
