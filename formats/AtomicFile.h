#pragma once

#include <QByteArrayView>
#include <QFileDevice>
#include <QString>

#include <initializer_list>

/// Replaces a whole file at once: the new content is written beside it and takes its place
/// only when every byte is on disk, so a full disk or a crash leaves the old file as it was.
class AtomicFile
{
public:
    /// Writes the parts one after another as the file's whole content; false with the
    /// system's reason in errorString when the file could not be replaced. The file keeps the
    /// permissions of the one it replaces unless permissions are given.
    static bool write(const QString& path, std::initializer_list<QByteArrayView> parts,
                      QString* errorString, QFileDevice::Permissions permissions = {});
};
