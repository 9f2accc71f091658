#include "module/FileAccess.h"

#include <QCoreApplication>
#include <QFileInfo>

FileProblem CheckRegularFile(const QString& path, qint64 largestBytes)
{
    // The file's details follow links to their final target.
    const QFileInfo file(path);
    if (!file.exists())
        return file.isSymLink() ? FileProblem::BrokenLink : FileProblem::Missing;
    if (!file.isFile())
        return FileProblem::NotRegular;
    return file.size() > largestBytes ? FileProblem::TooLarge : FileProblem::None;
}

WriteTarget FileToWrite(const QString& path, qint64 largestBytes)
{
    const FileProblem problem = CheckRegularFile(path, largestBytes);
    if (problem == FileProblem::Missing)
        return {path, FileProblem::None};
    if (problem != FileProblem::None)
        return {QString(), problem};
    return {QFileInfo(path).canonicalFilePath(), FileProblem::None};
}

QString DescribeFileProblem(FileProblem problem, qint64 largestBytes)
{
    switch (problem) {
    case FileProblem::None:
        break;
    case FileProblem::Missing:
        return QCoreApplication::translate("QObject", "it does not exist");
    case FileProblem::NotRegular:
        return QCoreApplication::translate("QObject", "it is not a regular file");
    case FileProblem::BrokenLink:
        return QCoreApplication::translate("QObject", "it is a link to nothing");
    case FileProblem::TooLarge:
        return QCoreApplication::translate("QObject", "it is larger than %1 MiB")
            .arg(largestBytes / (1024 * 1024));
    case FileProblem::NotOpened:
        return QCoreApplication::translate("QObject", "it cannot be opened");
    case FileProblem::Unparseable:
        return QCoreApplication::translate("QObject", "it cannot be parsed");
    case FileProblem::NotWritten:
        return QCoreApplication::translate("QObject", "it could not be written");
    }
    return QString();
}
