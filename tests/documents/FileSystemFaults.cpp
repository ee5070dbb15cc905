#include "FileSystemFaults.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <utility>

namespace {

// What takeWritesInParts() set: the folder's path with a slash, and the largest part.
QByteArray s_partsFolder;
std::atomic<qint64> s_partSize = 0;
bool s_refuseNext = false;

bool inPartsFolder(int fd)
{
    char target[4096];
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t size = readlink(link.constData(), target, sizeof target);
    return size > 0 && QByteArrayView(target, size).startsWith(s_partsFolder);
}

} // namespace

// Qt and every library but the C library's own call this write(), not the C library's.
extern "C" ssize_t write(int fd, const void* data, size_t size)
{
    if (s_partSize > 0 && inPartsFolder(fd)) {
        if (std::exchange(s_refuseNext, false)) {
            errno = EAGAIN;
            return -1;
        }
        s_refuseNext = size > size_t(s_partSize);
        size = std::min(size, size_t(s_partSize));
    }
    return syscall(SYS_write, fd, data, size);
}

FileSystemFaults::FileSystemFaults(const QString& folder) : m_folder(folder)
{
    QDir().mkpath(folder);
}

FileSystemFaults::~FileSystemFaults()
{
    if (m_inParts)
        s_partSize = 0;
    if (m_limited) {
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = m_oldLimit;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (m_mounted)
        umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

bool FileSystemFaults::mountSmall(int kilobytes)
{
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
    m_mounted = mount("tmpfs", QFile::encodeName(m_folder).constData(), "tmpfs", 0,
                      options.constData()) == 0;
    return m_mounted;
}

void FileSystemFaults::fill()
{
    QFile filler(QDir(m_folder).filePath(QStringLiteral(".filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(4096, 'x');
    for (qint64 size = block.size(); size > 0; size /= 2)
        while (filler.write(block.constData(), size) == size) {
        }
}

bool FileSystemFaults::makeReadOnly()
{
    return m_mounted && mount("tmpfs", QFile::encodeName(m_folder).constData(), "tmpfs",
                              MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

void FileSystemFaults::limitFileSize(qint64 bytes)
{
    // Past the limit the system sends SIGXFSZ; ignored, the write comes back short instead.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_oldLimit = limit.rlim_cur;
    limit.rlim_cur = rlim_t(bytes);
    m_limited = setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

void FileSystemFaults::takeWritesInParts(qint64 bytes)
{
    s_partsFolder = QFile::encodeName(QFileInfo(m_folder).canonicalFilePath()) + '/';
    s_refuseNext = false;
    s_partSize = bytes;
    m_inParts = true;
}
