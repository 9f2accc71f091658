#ifndef KURVO_PROGRAMTEXT_H
#define KURVO_PROGRAMTEXT_H

#include "module/FileAccess.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// A program's text held once, with where each of its lines starts, so that the text view and
// the streaming worker take lines without splitting the text again.
class ProgramText
{
public:
    ProgramText() : ProgramText(QString()) {}

    // A million lines of CAM output take about 30 MB; the loaded text takes twice that in memory
    // and the window's view several times more. A file beyond this is no program of ours.
    static constexpr qint64 largestFile = 64 * 1024 * 1024;

    // The file's lines as a text stream reads them: line feeds end lines, carriage returns before
    // them are dropped, and a last line feed starts no further line. Nothing when the file is no
    // regular file of at most largestFile bytes or does not open; `problem`, when given, then
    // says why.
    static std::optional<ProgramText> Read(const QString& path, FileProblem* problem = nullptr);
    // The text split at every line feed, empty lines kept, including the last one.
    explicit ProgramText(QString text);

    qsizetype LineCount() const { return qsizetype(lineStarts.size()) - 1; }
    QStringView Line(qsizetype index) const
    {
        const qsizetype start = lineStarts[size_t(index)];
        return QStringView(text).mid(start, lineStarts[size_t(index) + 1] - 1 - start);
    }

    // The lines joined by line feeds, as a text view shows them; valid while this text lives.
    QString JoinedText() const;

private:
    ProgramText(QString text, bool lastLineFeedEndsText);

    QString text;
    // One entry per line and one past the last line's end, each a line's start; a line ends one
    // character (its line feed) before the next one starts.
    std::vector<qsizetype> lineStarts;
};

#endif
