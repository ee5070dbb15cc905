#include "FileSystemFaults.h"

#include <QDir>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>

FileSystemFaults::FileSystemFaults(const QString& folder) : m_folder(folder)
{
    QDir().mkpath(folder);
}

FileSystemFaults::~FileSystemFaults()
{
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
