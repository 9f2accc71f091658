#include "gcode/ProgramText.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

namespace {

bool IsPlainAscii(const QByteArray& bytes)
{
    return std::all_of(bytes.cbegin(), bytes.cend(),
                       [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

} // namespace

ProgramText::ProgramText(QString text) : ProgramText(std::move(text), QByteArray(), false) {}

ProgramText::ProgramText(QString text, QByteArray narrow, bool lastLineFeedEndsText)
    : narrowText(std::move(narrow))
    , wideText(std::move(text))
{
    if (narrowText.isNull())
        FindLineStarts(wideText, lastLineFeedEndsText);
    else
        FindLineStarts(narrowText, lastLineFeedEndsText);
}

template <typename Text>
void ProgramText::FindLineStarts(const Text& text, bool lastLineFeedEndsText)
{
    lineStarts.push_back(0);
    for (qsizetype feed = text.indexOf('\n'); feed >= 0; feed = text.indexOf('\n', feed + 1))
        lineStarts.push_back(feed + 1);
    const bool endedByFeed = lastLineFeedEndsText && (text.isEmpty() || text.endsWith('\n'));
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
    // Bounded even when the file grows after the look at its size.
    QByteArray bytes = file.read(largestFile);
    if (IsPlainAscii(bytes))
        return ProgramText(QString(), bytes.isNull() ? QByteArray("") : std::move(bytes), true);
    // As a text stream decodes: UTF-8 unless a byte order mark says otherwise, the mark dropped.
    QStringDecoder decoder(
        QStringConverter::encodingForData(bytes).value_or(QStringConverter::Utf8));
    return ProgramText(decoder.decode(bytes), QByteArray(), true);
}

QString ProgramText::JoinedLines(qsizetype first, qsizetype end) const
{
    if (first >= end)
        return QString();
    const qsizetype start = lineStarts[size_t(first)];
    const qsizetype length = lineStarts[size_t(end)] - 1 - start;
    if (!narrowText.isNull())
        return QString::fromLatin1(narrowText.constData() + start, length);
    // Shares the held text rather than copying tens of megabytes.
    return QString::fromRawData(wideText.constData() + start, length);
}
