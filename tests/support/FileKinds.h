#ifndef KURVO_TESTS_FILEKINDS_H
#define KURVO_TESTS_FILEKINDS_H

#include <QString>

// Puts at `path` what a file of the module may turn out to be: "folder", "pipe" (a named pipe),
// "device" (a character device like the null device), "sparse" (a regular file of `size` bytes
// that takes no room on disk), "nothing", or "link to " one of these, the link's target lying
// beside `path`. Returns an empty text when done, else why this system or user cannot.
QString MakeSpecialFile(const QString& path, const QString& kind, qint64 size = 0);

// What is at `path` without following a link: "link to <kind>" or the kind as above ("file"
// for a regular file of any size).
QString SpecialFileKind(const QString& path);

// While it lives, no file of this process grows beyond `bytes`, as on a disk that is full; a
// write beyond fails instead of raising a signal. Does nothing where the system has no such
// limit (Available() tells).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    static bool Available();

private:
    bool limited = false;
    unsigned long long previous = 0;
};

#endif
