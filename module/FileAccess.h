#ifndef KURVO_FILEACCESS_H
#define KURVO_FILEACCESS_H

#include <QString>

// The module reads and writes regular files only: opening a pipe blocks until a writer comes,
// a device never ends, and a file of gigabytes is no file of ours.
enum class FileProblem {
    None,
    Missing,     // nothing at the path, not even a link
    NotRegular,  // a folder, device or pipe, there or at the end of a link
    BrokenLink,  // a link whose final target does not exist
    TooLarge,    // a regular file beyond the size allowed
    NotOpened,   // a regular file that does not open for reading
    Unparseable, // a settings file its reader cannot parse
    NotWritten,  // a write that failed; the file is left as it was
};

// Whether `path`, or the final target of the link it is, is a regular file of at most
// `largestBytes`; looks at the file without opening it.
FileProblem CheckRegularFile(const QString& path, qint64 largestBytes);

// Where a file meant for `path` is written: `path` itself when it is a regular file or nothing is
// there, the final target when `path` is a link to a regular file (the link stays a link), or
// nothing with the problem.
struct WriteTarget
{
    QString path;
    FileProblem problem = FileProblem::None;
};
WriteTarget FileToWrite(const QString& path, qint64 largestBytes);

// What the problem means for the operator, as the end of a sentence ("it is not a regular
// file"); translated.
QString DescribeFileProblem(FileProblem problem, qint64 largestBytes);

#endif
