#include "support/ZipParts.h"

#include <QBuffer>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

QList<std::pair<QString, QByteArray>> zipParts(const QByteArray& zip)
{
    QByteArray data = zip;
    QBuffer buffer(&data);
    QuaZip package(&buffer);
    QList<std::pair<QString, QByteArray>> parts;
    if (!package.open(QuaZip::mdUnzip))
        return parts;
    for (bool more = package.goToFirstFile(); more; more = package.goToNextFile()) {
        QuaZipFile part(&package);
        part.open(QIODevice::ReadOnly);
        parts.append({package.getCurrentFileName(), part.readAll()});
    }
    return parts;
}

QByteArray paddedPastOneThread(QByteArray xml)
{
    return xml.insert(xml.indexOf("?>") + 2, "<!--" + QByteArray(1 << 20, ' ') + "-->");
}
