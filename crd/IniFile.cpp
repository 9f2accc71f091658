#include "crd/IniFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryFile>

#include <optional>

namespace {

struct FileStamp
{
    qint64 size;
    QDateTime modified;

    bool operator==(const FileStamp& other) const
    {
        return size == other.size && modified == other.modified;
    }
};

FileStamp stampOf(const QFileInfo& file)
{
    return {file.size(), file.lastModified()};
}

// The settings class keeps every file it has parsed for the rest of the process and reports a
// parse error only when it parses: a file that failed once reads as sound from its cache as
// long as it stays unchanged. The files that failed are remembered here the same way.
QHash<QString, FileStamp>& unparseableFiles()
{
    static QHash<QString, FileStamp> files;
    return files;
}

bool parses(const QString& path)
{
    QSettings file(path, QSettings::IniFormat);
    // Listing the groups parses every section; only then does the status tell.
    static_cast<void>(file.childGroups());
    return file.status() == QSettings::NoError;
}

bool writeWhole(QFileDevice& file, const QByteArray& bytes)
{
    return file.write(bytes) == bytes.size() && file.flush();
}

// Whether `bytes`, parsed afresh, hold every key and value `expected` holds.
bool holdsTheSame(const QByteArray& bytes, const QSettings& expected)
{
    // A file name of its own, so that the settings class parses it rather than recall it.
    QTemporaryFile copy;
    if (!copy.open() || !writeWhole(copy, bytes))
        return false;
    copy.close();
    const QSettings parsed(copy.fileName(), QSettings::IniFormat);
    const QStringList keys = expected.allKeys();
    if (parsed.status() != QSettings::NoError || parsed.allKeys() != keys)
        return false;
    for (const QString& key : keys) {
        if (parsed.value(key).toString() != expected.value(key).toString())
            return false;
    }
    return true;
}

// The old text, or none where nothing is yet; empty when it cannot be read.
std::optional<QByteArray> currentText(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(largestIniFile);
}

// The new text of the file: the settings class writes a draft beside it, on the same disk, from
// a copy of the old text; empty when the draft did not come out whole.
std::optional<QByteArray> draftText(const QString& path,
                                    const std::function<void(QSettings&)>& fill)
{
    const std::optional<QByteArray> old = currentText(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QTemporaryFile draft(path + QStringLiteral(".XXXXXX"));
    if (!old || !draft.open() || !writeWhole(draft, *old))
        return std::nullopt;
    draft.close();
    QSettings settings(draft.fileName(), QSettings::IniFormat);
    fill(settings);
    settings.sync();
    QFile drafted(draft.fileName());
    if (settings.status() != QSettings::NoError || !drafted.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = drafted.readAll();
    return holdsTheSame(text, settings) ? std::optional<QByteArray>(text) : std::nullopt;
}

} // namespace

FileProblem CheckIniFile(const QString& path)
{
    const FileProblem problem = CheckRegularFile(path, largestIniFile);
    if (problem != FileProblem::None)
        return problem;
    const QFileInfo file(path);
    const QString key = file.canonicalFilePath();
    QHash<QString, FileStamp>& failed = unparseableFiles();
    if (!parses(path)) {
        failed.insert(key, stampOf(file));
        return FileProblem::Unparseable;
    }
    const auto known = failed.constFind(key);
    if (known != failed.constEnd() && *known == stampOf(file))
        return FileProblem::Unparseable;
    failed.remove(key);
    return FileProblem::None;
}

WriteTarget IniFileToWrite(const QString& path)
{
    WriteTarget target = FileToWrite(path, largestIniFile);
    if (target.problem == FileProblem::None && QFileInfo::exists(target.path)) {
        const FileProblem problem = CheckIniFile(target.path);
        if (problem != FileProblem::None)
            return {QString(), problem};
    }
    return target;
}

FileProblem WriteIniFile(const QString& path, const std::function<void(QSettings&)>& fill)
{
    const std::optional<QByteArray> text = draftText(path, fill);
    if (!text)
        return FileProblem::NotWritten;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !writeWhole(file, *text)) {
        file.cancelWriting();
        return FileProblem::NotWritten;
    }
    return file.commit() ? FileProblem::None : FileProblem::NotWritten;
}
