#include "formats/AtomicFile.h"

#include <QSaveFile>

bool AtomicFile::write(const QString& path, std::initializer_list<QByteArrayView> parts,
                       QString* errorString, QFileDevice::Permissions permissions)
{
    QSaveFile file(path);
    // Unbuffered, so a full disk shows as a short write here. Through the device's buffer a
    // small file is written only inside commit(), which renames it over the old one even when
    // that last write came back short.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *errorString = file.errorString();
        return false;
    }
    for (const QByteArrayView part : parts) {
        // A short write is tried again for the rest, which makes the system say why it stopped.
        for (qsizetype done = 0; done < part.size();) {
            const qint64 written = file.write(part.data() + done, part.size() - done);
            if (written <= 0) {
                *errorString = file.errorString();
                file.cancelWriting();
                return false;
            }
            done += written;
        }
    }
    if (permissions && !file.setPermissions(permissions)) {
        *errorString = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *errorString = file.errorString();
        return false;
    }
    return true;
}
