#include "FileKinds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

namespace {

const QString linkPrefix = QStringLiteral("link to ");

QString makeKind(const QString& path, const QString& kind, qint64 size)
{
    if (kind == QLatin1String("nothing"))
        return QString();
    if (kind == QLatin1String("folder"))
        return QDir().mkpath(path) ? QString() : QStringLiteral("no folder");
    if (kind == QLatin1String("sparse")) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.resize(size) ? QString()
                                                                    : QStringLiteral("no file");
    }
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    if (kind == QLatin1String("pipe"))
        return mkfifo(name.constData(), 0600) == 0 ? QString() : QStringLiteral("no pipe");
    if (kind == QLatin1String("device")) {
        return mknod(name.constData(), S_IFCHR | 0600, makedev(1, 3)) == 0
                   ? QString()
                   : QStringLiteral("no device nodes for this user");
    }
#endif
    return QStringLiteral("no %1 on this system").arg(kind);
}

} // namespace

QString MakeSpecialFile(const QString& path, const QString& kind, qint64 size)
{
    if (!kind.startsWith(linkPrefix))
        return makeKind(path, kind, size);
    const QString target = path + QStringLiteral(".target");
    const QString made = makeKind(target, kind.mid(linkPrefix.size()), size);
    if (!made.isEmpty())
        return made;
    return QFile::link(target, path) ? QString() : QStringLiteral("no links on this system");
}

QString SpecialFileKind(const QString& path)
{
    const QFileInfo file(path);
    if (file.isSymLink())
        return linkPrefix + SpecialFileKind(file.symLinkTarget());
    if (!file.exists())
        return QStringLiteral("nothing");
    if (file.isDir())
        return QStringLiteral("folder");
    if (file.isFile())
        return QStringLiteral("file");
#ifdef Q_OS_UNIX
    struct stat status;
    if (stat(QFile::encodeName(path).constData(), &status) == 0) {
        if (S_ISFIFO(status.st_mode))
            return QStringLiteral("pipe");
        if (S_ISCHR(status.st_mode))
            return QStringLiteral("device");
    }
#endif
    return QStringLiteral("other");
}

#ifdef Q_OS_UNIX
FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return;
    previous = limit.rlim_cur;
    std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = rlim_t(bytes);
    limited = setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit{};
    if (!limited || getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return;
    limit.rlim_cur = rlim_t(previous);
    setrlimit(RLIMIT_FSIZE, &limit);
}

bool FileSizeLimit::Available()
{
    return true;
}
#else
FileSizeLimit::FileSizeLimit(qint64) {}
FileSizeLimit::~FileSizeLimit() = default;
bool FileSizeLimit::Available()
{
    return false;
}
#endif
