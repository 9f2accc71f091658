#ifndef KURVO_GCODEINTERPRETER_H
#define KURVO_GCODEINTERPRETER_H

#include <QString>

#include <optional>
#include <vector>

// A word of a line as the interpreter took it, for telling the operator how a line reads: where
// it lies in the line, which the interpreter may have read at one byte a character.
struct ReadWord
{
    // As written: one letter, or "EF", "ED", "DELAY" and its misspellings.
    QStringView Letters(QStringView line) const { return line.sliced(at, numberAt - at); }
    // The run of number characters after them.
    QStringView Number(QStringView line) const { return line.sliced(numberAt, end - numberAt); }
    bool IsOneLetter() const { return numberAt - at == 1; }
    // The number, where the interpreter read it as a whole one of plain ASCII digits (G, H, N, T).
    std::optional<int> Digits() const
    {
        return plainDigits ? std::optional<int>(digits) : std::nullopt;
    }

    qsizetype at = 0;
    qsizetype numberAt = 0;
    qsizetype end = 0;
    char16_t first = 0;     // the first letter as written
    bool dwellTime = false; // an X read as the time of a G4 dwell
    bool plainDigits = false;
    int digits = 0;
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
    // With `words`, every word is also told there as it was read.
    void InterpretLine(QStringView line, LineWords* words = nullptr);
    // A line held at one byte a character, read as its Latin-1 characters.
    void InterpretLine(QLatin1String line, LineWords* words = nullptr);
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
    // A run of number characters as the toolkit converts it (0 when it does not), without
    // its cost for a plain decimal.
    static double NumberOf(QStringView run, bool* converted = nullptr);

private:
    // Letters outside ASCII, through the toolkit's case mapping.
    static char16_t LetterOfOther(char16_t c);
    static bool IsUpperOther(char16_t c);
    template <typename Char> void Interpret(const Char* text, qsizetype size, LineWords* words);
    void ApplyGCode(int code);
};

#endif
