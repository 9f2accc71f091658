#include "gcode/ProgramText.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Eight bytes at a time: none has its top bit set.
bool IsPlainAscii(const QByteArray& bytes)
{
    const char* at = bytes.constData();
    const char* const end = at + bytes.size();
    uint64_t seen = 0;
    for (; end - at >= 8; at += 8) {
        uint64_t word = 0;
        std::memcpy(&word, at, sizeof word);
        seen |= word;
    }
    for (; at < end; ++at)
        seen |= static_cast<unsigned char>(*at);
    return (seen & 0x8080808080808080u) == 0;
}

// Drops every carriage return, as a text-mode read does, moving the runs between them in place.
void DropCarriageReturns(QByteArray& bytes)
{
    char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    char* write = static_cast<char*>(std::memchr(begin, '\r', std::size_t(bytes.size())));
    if (!write)
        return;
    const char* read = write;
    while (read < end) {
        ++read; // past the carriage return
        const char* next
            = static_cast<const char*>(std::memchr(read, '\r', std::size_t(end - read)));
        if (!next)
            next = end;
        std::memmove(write, read, std::size_t(next - read));
        write += next - read;
        read = next;
    }
    bytes.truncate(write - begin);
}

const char* NextLineFeed(const char* from, const char* end)
{
    const void* feed = std::memchr(from, '\n', std::size_t(end - from));
    return feed ? static_cast<const char*>(feed) : end;
}

const char16_t* NextLineFeed(const char16_t* from, const char16_t* end)
{
    const qsizetype feed = QStringView(from, end).indexOf(u'\n');
    return feed < 0 ? end : from + feed;
}

// About as many lines as the text holds, judged by its first lines, so that their starts are
// kept in one allocation: grown by doubling, they would be copied and their memory touched
// twice over. Never more than one line for every eight characters is set aside.
template <typename Char> std::size_t LikelyLineCount(const Char* text, qsizetype size)
{
    constexpr qsizetype sample = 64 * 1024;
    const qsizetype sampled = std::min(size, sample);
    if (sampled == 0)
        return 0;
    const auto feeds = std::count(text, text + sampled, Char('\n'));
    const double likely = double(feeds + 1) * (double(size) / double(sampled)) * 1.125;
    return std::size_t(std::min(likely, double(size) / 8 + 1));
}

} // namespace

ProgramText::ProgramText(QString text)
    : ProgramText(std::move(text), QByteArray(), false)
{}

ProgramText::ProgramText(QString text, QByteArray narrow, bool lastLineFeedEndsText)
    : narrowText(std::move(narrow))
    , wideText(std::move(text))
{
    if (narrowText.isNull())
        FindLineStarts(reinterpret_cast<const char16_t*>(wideText.constData()), wideText.size(),
                       lastLineFeedEndsText);
    else
        FindLineStarts(narrowText.constData(), narrowText.size(), lastLineFeedEndsText);
}

template <typename Char>
void ProgramText::FindLineStarts(const Char* const text, const qsizetype size,
                                 bool lastLineFeedEndsText)
{
    lineStarts.reserve(LikelyLineCount(text, size) + 2);
    lineStarts.push_back(0);
    const Char* const end = text + size;
    for (const Char* feed = NextLineFeed(text, end); feed != end;
         feed = NextLineFeed(feed + 1, end))
        lineStarts.push_back(feed - text + 1);
    const bool endedByFeed = lastLineFeedEndsText && (size == 0 || end[-1] == Char('\n'));
    if (!endedByFeed)
        lineStarts.push_back(size + 1);
}

std::optional<ProgramText> ProgramText::Read(const QString& path, FileProblem* problem)
{
    FileProblem found = CheckRegularFile(path, largestFile);
    QFile file(path);
    if (found == FileProblem::None && !file.open(QIODevice::ReadOnly))
        found = FileProblem::NotOpened;
    if (problem)
        *problem = found;
    if (found != FileProblem::None)
        return std::nullopt;
    // Bounded even when the file grows after the look at its size.
    QByteArray bytes = file.read(std::min(file.size(), largestFile));
    DropCarriageReturns(bytes);
    if (IsPlainAscii(bytes))
        return ProgramText(QString(), bytes.isNull() ? QByteArray("") : std::move(bytes), true);
    // As a text stream decodes: UTF-8 unless a byte order mark says otherwise, the mark dropped.
    QStringDecoder decoder(
        QStringConverter::encodingForData(bytes).value_or(QStringConverter::Utf8));
    return ProgramText(decoder.decode(bytes), QByteArray(), true);
}

bool ProgramText::Contains(QChar c) const
{
    if (narrowText.isNull())
        return wideText.contains(c);
    return c.unicode() < 0x80 && narrowText.contains(char(c.unicode()));
}

bool ProgramText::IsBlank() const
{
    if (narrowText.isNull())
        return QStringView(wideText).trimmed().isEmpty();
    return std::all_of(narrowText.begin(), narrowText.end(),
                       [](char c) { return QChar::isSpace(uchar(c)); });
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
