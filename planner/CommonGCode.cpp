#include "planner/CommonGCode.h"

#include "planner/CurveLines.h"

#include <QLocale>

#include <cmath>
#include <map>
#include <optional>

namespace {

constexpr double mmPerInch = 25.4;
// Written coordinates are rounded to a tenth of a micrometre, far below any pulse.
constexpr double writtenStep = 1e-4;

struct Word
{
    char16_t letter;
    double value;
    QString text; // as written, uppercase
};

// A line's words; comments, '%' and a leading '/' left out. Empty with `problem` set when a word
// cannot be read.
std::vector<Word> ReadWords(QStringView line, QString& problem)
{
    std::vector<Word> words;
    qsizetype at = 0;
    const qsizetype end = line.size();
    while (at < end) {
        const QChar c = line[at];
        if (c.isSpace() || c == u'/' || c == u'%') {
            ++at;
        } else if (c == u'(') {
            const qsizetype closing = line.indexOf(u')', at);
            at = closing < 0 ? end : closing + 1;
        } else if (c == u';') {
            break;
        } else if (c.isLetter() && c.unicode() < 128) {
            const char16_t letter = c.toUpper().unicode();
            ++at;
            while (at < end && line[at].isSpace())
                ++at;
            const qsizetype from = at;
            while (at < end && (line[at].isDigit() || QStringView(u"+-.").contains(line[at])))
                ++at;
            bool read = false;
            const double value = line.mid(from, at - from).toDouble(&read);
            if (!read || !std::isfinite(value)) {
                problem = QStringLiteral("%1 has no number").arg(QChar(letter));
                return {};
            }
            words.push_back(
                {letter, value, QString(QChar(letter)) + line.mid(from, at - from).toString()});
        } else {
            problem = QStringLiteral("\"%1\" is no word of common G-code").arg(c);
            return {};
        }
    }
    return words;
}

// What a G or M code without an equivalent here does, or nothing for one the conversion makes.
std::optional<QString> WithoutEquivalent(const Word& word)
{
    const double code = word.value;
    const auto is = [code](double value) {
        return std::abs(code - value) < 1e-9;
    };
    if (word.letter == u'T')
        return QStringLiteral("a tool choice");
    if (!QStringView(u"GMFSXYZIJKRPQLNABCUVW").contains(QChar(word.letter)))
        return QStringLiteral("a word the conversion does not know");
    if (word.letter == u'M') {
        if (is(3) || is(4) || is(5) || is(2) || is(30))
            return std::nullopt;
        if (is(6))
            return QStringLiteral("a tool change");
        if (is(7) || is(8) || is(9))
            return QStringLiteral("coolant");
        if (is(0) || is(1) || is(60))
            return QStringLiteral("a stop for the operator");
        return QStringLiteral("a machine function");
    }
    if (word.letter != u'G')
        return std::nullopt;
    for (const double known :
         {0.0,  1.0,  2.0,  3.0,  4.0,  5.0,  5.1,  5.2,  5.3,  17.0, 18.0, 19.0, 20.0,
          21.0, 40.0, 49.0, 61.0, 61.1, 64.0, 80.0, 90.0, 90.1, 91.0, 91.1, 94.0})
        if (is(known))
            return std::nullopt;
    if (code >= 54 && code <= 59.3)
        return QStringLiteral("a work offset");
    if (is(93))
        return QStringLiteral("inverse-time feeds");
    if (is(41) || is(42) || is(41.1) || is(42.1))
        return QStringLiteral("cutter compensation");
    if (code >= 81 && code <= 89)
        return QStringLiteral("a canned cycle");
    return QStringLiteral("a G code the conversion does not know");
}

double Rounded(double value)
{
    return std::round(value / writtenStep) * writtenStep + 0.0; // no negative zero
}

// A rounded coordinate in plain decimals, no trailing zeros.
QString Written(double value)
{
    QString text = QString::number(Rounded(value), 'f', 4);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

class Converter
{
public:
    Converter(const ConversionOptions& options, Conversion& result)
        : options(options)
        , result(result)
    {}

    // Converts one source line; false when the conversion ends there.
    bool Convert(QStringView text, qsizetype line);
    bool Ended() const { return ended; }

private:
    void Write(const QString& text)
    {
        result.program += text + QLatin1Char('\n');
        result.sourceLines.push_back(line);
    }
    bool Fail(const QString& problem);
    double Length(double value) const { return value * (inches ? mmPerInch : 1); }
    std::optional<double> Value(char16_t letter) const;
    bool HasAxis() const { return Value(u'X') || Value(u'Y') || Value(u'Z'); }
    Point3 Target() const;
    QString FeedWord();
    void Laser(bool on);
    void LineTo(const Point3& to, bool rapid);
    void LinesAlong(const std::vector<Point3>& points);
    bool Arc(const Point3& to, bool clockwise);
    bool Spline(const Point3& to, double code);
    bool NurbsPoint(const Point3& to, bool opening);
    bool EndNurbs();

    const ConversionOptions& options;
    Conversion& result;
    std::map<char16_t, double> values; // the line's words other than G and M
    qsizetype line = 0;
    bool inches = false;
    bool relative = false;
    bool relativeCentres = true;
    ArcPlane plane{0, 1, 2};
    int planeCode = 17;
    double motion = -1; // the motion mode in force: 0, 1, 2, 3, 5, 5.1
    Point3 position{};  // where the source program stands, mm
    Point3 standing{};  // where the written program stands, as written
    double feed = 0;    // mm/min
    double writtenFeed = -1;
    double spindle = 0;
    bool spindleOn = false;
    bool laser = false;
    std::optional<Point3> lastCubicControl; // a G5's second control point, for the next G5
    bool nurbs = false;
    int nurbsOrder = 3;
    qsizetype nurbsLine = 0;
    std::vector<Point3> nurbsControls;
    std::vector<double> nurbsWeights;
    bool ended = false;
};

bool Converter::Fail(const QString& problem)
{
    result.error = QStringLiteral("line %1: %2").arg(line).arg(problem);
    return false;
}

std::optional<double> Converter::Value(char16_t letter) const
{
    const auto found = values.find(letter);
    return found == values.end() ? std::nullopt : std::optional<double>(found->second);
}

Point3 Converter::Target() const
{
    Point3 to = position;
    for (int axis = 0; axis < 3; ++axis) {
        if (const std::optional<double> value = Value(u"XYZ"[axis]))
            to[std::size_t(axis)] = Length(*value) + (relative ? position[std::size_t(axis)] : 0);
    }
    return to;
}

// The feed word of a feed move, when the feed changed: mm/s, whole, as the dialect reads it.
QString Converter::FeedWord()
{
    const double mmPerSecond = feed / 60;
    const double whole = std::max(1.0, std::round(mmPerSecond));
    if (whole == writtenFeed)
        return QString();
    writtenFeed = whole;
    if (std::abs(whole - mmPerSecond) > 5e-4 * mmPerSecond)
        result.notes << QStringLiteral("line %1: %2 mm/min is %3 mm/s; the dialect takes whole "
                                       "mm/s: F%4, %5% %6")
                            .arg(line)
                            .arg(QLocale(QLocale::English).toString(feed, 'g', 10))
                            .arg(mmPerSecond, 0, 'f', 3)
                            .arg(whole)
                            .arg(std::abs(whole / mmPerSecond - 1) * 100, 0, 'f', 1)
                            .arg(whole > mmPerSecond ? QStringLiteral("faster")
                                                     : QStringLiteral("slower"));
    return QStringLiteral(" F") + Written(whole);
}

void Converter::Laser(bool on)
{
    if (on == laser)
        return;
    laser = on;
    // A G02 without coordinates moves nothing; the line only switches.
    Write(QStringLiteral("G02 H%1 N%2").arg(on ? 1 : 0).arg(line));
}

void Converter::LineTo(const Point3& to, bool rapid)
{
    Point3 at{Rounded(to[0]), Rounded(to[1]), Rounded(to[2])};
    const QString speed = rapid ? QString() : FeedWord();
    Write(QStringLiteral("%1 X%2 Y%3 Z%4%5 N%6")
              .arg(rapid ? QStringLiteral("G00") : QStringLiteral("G01"), Written(at[0]),
                   Written(at[1]), Written(at[2]), speed)
              .arg(line));
    standing = at;
}

void Converter::LinesAlong(const std::vector<Point3>& points)
{
    for (const Point3& point : points)
        LineTo(point, false);
}

bool Converter::Arc(const Point3& to, bool clockwise)
{
    Point3 centre = position;
    const std::optional<double> radius = Value(u'R');
    const int u = plane.first, v = plane.second;
    if (radius) {
        // The centre on the chord's bisector; a negative radius takes the longer way round.
        const double r = Length(*radius);
        const double du = to[std::size_t(u)] - position[std::size_t(u)];
        const double dv = to[std::size_t(v)] - position[std::size_t(v)];
        const double chord = std::hypot(du, dv);
        if (chord == 0 || chord > 2 * std::abs(r) + 1e-9)
            return Fail(QStringLiteral("R%1 makes no arc to the end").arg(*radius));
        const double height = std::sqrt(std::max(0.0, r * r - chord * chord / 4));
        const double side = (clockwise == (r > 0)) ? -1 : 1;
        centre[std::size_t(u)] = position[std::size_t(u)] + du / 2 - side * height * dv / chord;
        centre[std::size_t(v)] = position[std::size_t(v)] + dv / 2 + side * height * du / chord;
    } else {
        const char16_t letters[3] = {u'I', u'J', u'K'};
        bool any = false;
        for (const int axis : {u, v}) {
            const std::optional<double> offset = Value(letters[axis]);
            any = any || offset;
            const double base = relativeCentres ? position[std::size_t(axis)] : 0;
            centre[std::size_t(axis)] = base + Length(offset.value_or(0));
        }
        if (!any)
            return Fail(QStringLiteral("an arc without its centre (I, J, K) or R"));
    }
    const bool closed = std::hypot(to[std::size_t(u)] - position[std::size_t(u)],
                                   to[std::size_t(v)] - position[std::size_t(v)])
                        < 1e-9;
    if (planeCode != 17 || to[2] != position[2] || closed) {
        LinesAlong(ArcLines(position, to, centre, plane, clockwise, options.tolerance));
        return true;
    }
    const Point3 end{Rounded(to[0]), Rounded(to[1]), Rounded(to[2])};
    const QString speed = FeedWord();
    Write(QStringLiteral("%1 X%2 Y%3 I%4 J%5%6 N%7")
              .arg(clockwise ? QStringLiteral("G02") : QStringLiteral("G03"), Written(end[0]),
                   Written(end[1]), Written(centre[0] - standing[0]),
                   Written(centre[1] - standing[1]), speed)
              .arg(line));
    standing = end;
    return true;
}

bool Converter::Spline(const Point3& to, double code)
{
    if (planeCode != 17)
        return Fail(QStringLiteral("a spline outside the XY plane (G17)"));
    const auto offset = [this](char16_t x, char16_t y) -> std::optional<Point3> {
        const std::optional<double> a = Value(x), b = Value(y);
        if (!a && !b)
            return std::nullopt;
        return Point3{Length(a.value_or(0)), Length(b.value_or(0)), 0};
    };
    const std::optional<Point3> first = offset(u'I', u'J');
    Point3 start = position, end = to;
    const auto plus = [](const Point3& a, const Point3& b) {
        return Point3{a[0] + b[0], a[1] + b[1], a[2] + b[2]};
    };
    if (code == 5.1) {
        if (!first)
            return Fail(QStringLiteral("G5.1 without I and J"));
        LinesAlong(BezierLines({start, plus(start, *first), end}, options.tolerance));
        lastCubicControl.reset();
        return true;
    }
    const std::optional<Point3> second = offset(u'P', u'Q');
    if (!second)
        return Fail(QStringLiteral("G5 without P and Q"));
    std::optional<Point3> control;
    if (first)
        control = plus(start, *first);
    if (!control && lastCubicControl)
        control = Point3{2 * start[0] - (*lastCubicControl)[0],
                         2 * start[1] - (*lastCubicControl)[1], start[2]};
    if (!control)
        return Fail(QStringLiteral("the first G5 of a series without I and J"));
    const Point3 secondControl = plus(end, *second);
    LinesAlong(BezierLines({start, *control, secondControl, end}, options.tolerance));
    lastCubicControl = secondControl;
    return true;
}

bool Converter::NurbsPoint(const Point3& to, bool opening)
{
    const double weight = Value(u'P').value_or(1);
    if (!(weight > 0))
        return Fail(QStringLiteral("a NURBS weight P%1 that is not above 0").arg(weight));
    if (opening) {
        nurbs = true;
        nurbsLine = line;
        nurbsOrder = int(Value(u'L').value_or(3));
        nurbsControls = {position};
        nurbsWeights = {1};
        if (!Value(u'X') && !Value(u'Y')) {
            nurbsWeights[0] = weight; // "G5.2 P-" alone weighs the current point
            return true;
        }
    }
    if (Value(u'X') || Value(u'Y')) {
        nurbsControls.push_back(to);
        nurbsWeights.push_back(weight);
    }
    return true;
}

bool Converter::EndNurbs()
{
    nurbs = false;
    const std::vector<Point3> points
        = NurbsLines(nurbsControls, nurbsWeights, nurbsOrder, options.tolerance);
    if (points.empty())
        return Fail(QStringLiteral("a NURBS of order %1 needs as many control points, it has %2")
                        .arg(nurbsOrder)
                        .arg(nurbsControls.size()));
    const qsizetype closing = line;
    line = nurbsLine;
    LinesAlong(points);
    line = closing;
    position = nurbsControls.back();
    return true;
}

bool Converter::Convert(QStringView text, qsizetype number)
{
    line = number;
    QString problem;
    const std::vector<Word> words = ReadWords(text, problem);
    if (!problem.isEmpty())
        return Fail(problem);
    values.clear();
    std::vector<double> gCodes, mCodes;
    QStringList unsupported;
    QString why;
    for (const Word& word : words) {
        if (const std::optional<QString> without = WithoutEquivalent(word)) {
            unsupported << word.text;
            why = *without;
            continue;
        }
        if (word.letter == u'G')
            gCodes.push_back(word.value);
        else if (word.letter == u'M')
            mCodes.push_back(word.value);
        else if (word.letter != u'N')
            values[word.letter] = word.value;
    }
    if (!unsupported.isEmpty()) {
        const QString words = unsupported.join(u' ');
        if (!options.skipUnsupported) {
            result.unsupported = true;
            return Fail(QStringLiteral("%1 (%2) has no equivalent here").arg(words, why));
        }
        result.skipped << QStringLiteral("line %1: %2 (%3)").arg(line).arg(words, why);
        Write(QStringLiteral("G02 N%1 (skipped: %2)").arg(line).arg(words));
    }
    for (const char16_t axis : {u'A', u'B', u'C', u'U', u'V', u'W'})
        if (Value(axis))
            return Fail(QStringLiteral("only X, Y and Z are converted, not %1").arg(QChar(axis)));
    std::optional<double> nonModal;
    for (const double code : gCodes) {
        if (code == 20 || code == 21)
            inches = code == 20;
        else if (code == 90 || code == 91)
            relative = code == 91;
        else if (std::abs(code - 90.1) < 1e-9 || std::abs(code - 91.1) < 1e-9)
            relativeCentres = code > 91;
        else if (code == 17 || code == 18 || code == 19) {
            planeCode = int(code);
            plane = code == 17   ? ArcPlane{0, 1, 2}
                    : code == 18 ? ArcPlane{2, 0, 1}
                                 : ArcPlane{1, 2, 0};
        } else if (code == 4 || std::abs(code - 5.2) < 1e-9 || std::abs(code - 5.3) < 1e-9)
            nonModal = code;
        else if (code <= 3 || code == 5 || std::abs(code - 5.1) < 1e-9)
            motion = code;
    }
    if (const std::optional<double> f = Value(u'F'))
        feed = Length(*f);
    if (const std::optional<double> s = Value(u'S'))
        spindle = *s;
    for (const double code : mCodes) {
        if (code == 3 || code == 4)
            spindleOn = true;
        else if (code == 5)
            spindleOn = false;
    }
    Laser(spindleOn && spindle > 0);
    if (nonModal == 4.0) {
        const double seconds = Value(u'P').value_or(Value(u'X').value_or(0));
        Write(QStringLiteral("G02 DELAY%1 N%2").arg(std::llround(seconds * 1000)).arg(line));
        return true;
    }
    const Point3 to = Target();
    if (nonModal && *nonModal > 5.25)
        return nurbs ? EndNurbs() : Fail(QStringLiteral("G5.3 without a G5.2 before it"));
    if (nonModal || nurbs) {
        if (!NurbsPoint(to, bool(nonModal)))
            return false;
        position = to;
        return true;
    }
    for (const double code : mCodes)
        if (code == 2 || code == 30)
            ended = true;
    if (!HasAxis() || motion < 0) {
        if (HasAxis())
            return Fail(QStringLiteral("coordinates before any motion mode (G0, G1, G2, G3)"));
        return true;
    }
    if (motion != 0 && !(feed > 0))
        return Fail(QStringLiteral("a feed move before any feed (F)"));
    bool made = true;
    if (motion == 0 || motion == 1) {
        LineTo(to, motion == 0);
        lastCubicControl.reset();
    } else if (motion == 2 || motion == 3) {
        made = Arc(to, motion == 2);
        lastCubicControl.reset();
    } else {
        made = Spline(to, motion);
    }
    position = to;
    return made;
}

} // namespace

QString ConvertedHeader(qsizetype sourceLines)
{
    return QStringLiteral("(Converted from common G-code of %1 lines: F in mm/s, every N the "
                          "source's line)")
        .arg(sourceLines);
}

std::optional<qsizetype> ConvertedSourceLines(const ProgramText& program)
{
    if (program.LineCount() == 0)
        return std::nullopt;
    QString widened;
    const QStringView first = program.Line(0, widened);
    const QString prefix = QStringLiteral("(Converted from common G-code of ");
    if (!first.startsWith(prefix))
        return std::nullopt;
    const QStringView rest = first.mid(prefix.size());
    bool whole = false;
    const qsizetype lines = rest.left(rest.indexOf(u' ')).toLongLong(&whole);
    return whole && first == ConvertedHeader(lines) ? std::optional<qsizetype>(lines)
                                                    : std::nullopt;
}

Conversion ConvertCommonGCode(const ProgramText& source, const ConversionOptions& options)
{
    Conversion result;
    result.program = ConvertedHeader(source.LineCount()) + QLatin1Char('\n');
    result.sourceLines = {0};
    Converter converter(options, result);
    QString widened;
    for (qsizetype index = 0; index < source.LineCount() && !converter.Ended(); ++index) {
        if (!converter.Convert(source.Line(index, widened), index + 1)) {
            // Half a program is none.
            result.program.clear();
            result.sourceLines.clear();
            break;
        }
    }
    return result;
}
