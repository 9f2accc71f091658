#ifndef KURVO_PROGRAMTEXT_H
#define KURVO_PROGRAMTEXT_H

#include "module/FileAccess.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// A program's text held once, with where each of its lines starts, so that the text view and
// the streaming worker take lines without splitting the text again. A file of plain ASCII, as
// CAM output is, is held at one byte a character: a million lines then take half the memory.
class ProgramText
{
public:
    ProgramText()
        : ProgramText(QString())
    {}

    // A million lines of CAM output take about 30 MB; the loaded text takes as much again in
    // memory and the window's view several times more. A file beyond this is no program of ours.
    static constexpr qint64 largestFile = 64 * 1024 * 1024;

    // The file's lines as a text stream reads them: line feeds end lines, carriage returns before
    // them are dropped, and a last line feed starts no further line. Nothing when the file is no
    // regular file of at most largestFile bytes or does not open; `problem`, when given, then
    // says why.
    static std::optional<ProgramText> Read(const QString& path, FileProblem* problem = nullptr);
    // The text split at every line feed, empty lines kept, including the last one.
    explicit ProgramText(QString text);

    qsizetype LineCount() const { return qsizetype(lineStarts.size()) - 1; }
    // Line `index`. A text held at one byte a character is widened into `widened`, which the
    // view then shows, until the next line is taken into it.
    QStringView Line(qsizetype index, QString& widened) const
    {
        if (IsNarrow()) {
            widened = NarrowLine(index);
            return widened;
        }
        return WideLine(index);
    }
    // Whether the text is held at one byte a character; its lines are then NarrowLine's, else
    // WideLine's.
    bool IsNarrow() const { return !narrowText.isNull(); }
    QLatin1String NarrowLine(qsizetype index) const
    {
        return QLatin1String(narrowText.constData() + LineStart(index), LineLength(index));
    }
    QStringView WideLine(qsizetype index) const
    {
        return QStringView(wideText).sliced(LineStart(index), LineLength(index));
    }

    // Whether the text holds `c` anywhere, and whether it holds nothing but white space: asked of
    // the whole text at once, a plain ASCII one without widening it.
    bool Contains(QChar c) const;
    bool IsBlank() const;

    // Lines [first, end) joined by line feeds, as a text view shows them; a whole text held wide
    // is shared rather than copied, and is valid while this text lives.
    QString JoinedLines(qsizetype first, qsizetype end) const;

private:
    ProgramText(QString text, QByteArray narrow, bool lastLineFeedEndsText);
    qsizetype LineStart(qsizetype index) const { return lineStarts[size_t(index)]; }
    qsizetype LineLength(qsizetype index) const
    {
        return lineStarts[size_t(index) + 1] - 1 - lineStarts[size_t(index)];
    }
    template <typename Char>
    void FindLineStarts(const Char* text, qsizetype size, bool lastLineFeedEndsText);

    QByteArray narrowText; // the text when it is plain ASCII, else null
    QString wideText;      // the text otherwise
    // One entry per line and one past the last line's end, each a line's start; a line ends one
    // character (its line feed) before the next one starts.
    std::vector<qsizetype> lineStarts;
};

#endif
