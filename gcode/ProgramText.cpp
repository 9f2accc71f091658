#include "gcode/ProgramText.h"

#include <QFile>
#include <QTextStream>

ProgramText::ProgramText(QString text) : ProgramText(std::move(text), false) {}

ProgramText::ProgramText(QString programText, bool lastLineFeedEndsText)
    : text(std::move(programText))
{
    const QStringView view(text);
    lineStarts.push_back(0);
    for (qsizetype feed = view.indexOf(u'\n'); feed >= 0; feed = view.indexOf(u'\n', feed + 1))
        lineStarts.push_back(feed + 1);
    const bool endedByFeed = lastLineFeedEndsText && (text.isEmpty() || text.endsWith(u'\n'));
    if (!endedByFeed)
        lineStarts.push_back(text.size() + 1);
}

std::optional<ProgramText> ProgramText::Read(const QString& path, FileProblem* problem)
{
    FileProblem found = CheckRegularFile(path, largestFile);
    QFile file(path);
    if (found == FileProblem::None && !file.open(QIODevice::ReadOnly | QIODevice::Text))
        found = FileProblem::NotOpened;
    if (problem)
        *problem = found;
    if (found != FileProblem::None)
        return std::nullopt;
    QTextStream stream(&file);
    // Bounded even when the file grows after the look at its size.
    return ProgramText(stream.read(largestFile), true);
}

QString ProgramText::JoinedText() const
{
    // Shares the held text rather than copying tens of megabytes.
    return LineCount() == 0 ? QString() : QString::fromRawData(text.constData(), lineStarts.back() - 1);
}
