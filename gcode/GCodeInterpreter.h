#ifndef KURVO_GCODEINTERPRETER_H
#define KURVO_GCODEINTERPRETER_H

#include <QString>

#include <vector>

// A word of a line as the interpreter took it, for telling the operator how a line reads.
struct ReadWord
{
    QStringView letters;    // as written: one letter, or "EF", "ED", "DELAY" and its misspellings
    QStringView number;     // the run of number characters after them
    bool dwellTime = false; // an X read as the time of a G4 dwell
};

// The words of one line, in order, and where a comment, '%' or '/' ended it (-1: nothing did).
struct LineWords
{
    std::vector<ReadWord> words;
    qsizetype endsAt = -1;
};

// Reads a G-code program a line at a time into a state from which its consumers derive the
// motion and switching commands: absolute millimetre coordinates, arcs in the XY plane only,
// and the words DELAY, EF, ED and H of this dialect.
class GCodeInterpreter
{
public:
    enum Axis { X, Y, Z, A, C, U, V, W };
    enum Request { NoMotion, Line, CentreArc, RadiusArc };

    void InterpretLine(const QString& line);
    // With `words`, every word is also told there as it was read; the line must outlive them.
    void InterpretLine(QStringView line, LineWords* words = nullptr);
    // The consumer's end of a line: the target becomes the previous one, the arc words clear,
    // and the line's speeds carry over (its acceleration only when `carryAcceleration`).
    void FinishLine(bool carryAcceleration);

    // What the line asks for: a line while the mode is 0 or 1, an arc in mode 2 or 3 on the XY
    // plane by centre (I, J, with Z unchanged) or by radius.
    Request MotionRequest() const;
    // Arc direction: 1 counter-clockwise (G03), 0 clockwise.
    short ArcDirection() const { return motionMode == 3 ? 1 : 0; }
    // The line's velocity and acceleration: the rapid ones in mode 0.
    double Velocity() const { return motionMode == 0 ? line.rapidFeed : line.feed; }
    double Acceleration() const
    {
        return motionMode == 0 ? line.rapidAcceleration : line.acceleration;
    }

    int motionMode = -1;
    int plane = 17;
    int distanceMode = 90;
    int units = 21;
    int cutterCompensation = 40;
    int lengthCompensation = 49;
    double position[8] = {};
    double previousPosition[8] = {};
    double arcRadius = 0;
    double arcCentre[3] = {};
    int lineNumber = 0;
    double dwellTime = 0;

    // The carried speeds; the line's own copy is `line`.
    struct Speeds
    {
        double feed = 10;
        double acceleration = 300;
        double rapidFeed = 10;
        double rapidAcceleration = 300;
    };
    Speeds carried;
    Speeds line;

    int nonModalCode = -1;
    int tool = -1;
    int laserSwitch = -1;
    double delayTime = -1;

    // How a line's characters read: the ASCII character one reads as, upper-cased (0 for one
    // outside ASCII that maps onto none), whether it is written in upper case, and the run of
    // number characters at `at`, which moves past it.
    static char16_t LetterOf(char16_t c)
    {
        if (c >= 0x80)
            return LetterOfOther(c);
        return c >= u'a' && c <= u'z' ? char16_t(c - (u'a' - u'A')) : c;
    }
    static bool IsUpperCase(char16_t c)
    {
        return c < 0x80 ? c >= u'A' && c <= u'Z' : IsUpperOther(c);
    }
    static QStringView CollectNumber(QStringView text, qsizetype& at);
    // A run of number characters as the toolkit converts it (0 when it does not), without
    // its cost for a plain decimal.
    static double NumberOf(QStringView run, bool* converted = nullptr);

private:
    // Letters outside ASCII, through the toolkit's case mapping.
    static char16_t LetterOfOther(char16_t c);
    static bool IsUpperOther(char16_t c);
    void ApplyGCode(int code);
    static void TellWord(QStringView text, qsizetype from, qsizetype to, bool dwellTime,
                         LineWords& words);
    static double ReadNumber(QStringView text, qsizetype& at, bool* converted = nullptr);
    // The whole part of a G, H, N or T number into `number`; false, and `number` as it was,
    // when it is unknown.
    static bool ReadWholeNumber(QStringView text, qsizetype& at, int& number);
};

#endif
