// A libFuzzer mutator for zip packages. Changing a package's bytes mostly breaks its checksums,
// which the reader rightly refuses; so half the time one part is changed inside the package,
// which is then written again, for the XML readers behind the zip to see the change.
#include <QBuffer>
#include <QByteArray>
#include <QList>
#include <QString>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <cstring>
#include <random>
#include <utility>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

using Parts = QList<std::pair<QString, QByteArray>>;

Parts unzip(const QByteArray& package)
{
    QByteArray copy = package;
    QBuffer buffer(&copy);
    QuaZip zip(&buffer);
    Parts parts;
    if (!zip.open(QuaZip::mdUnzip))
        return parts;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        parts.append({zip.getCurrentFileName(), file.read(1 << 20)});
    }
    return parts;
}

QByteArray zip(const Parts& parts)
{
    QByteArray package;
    QBuffer buffer(&package);
    QuaZip zip(&buffer);
    zip.setDataDescriptorWritingEnabled(false);
    if (!zip.open(QuaZip::mdCreate))
        return {};
    for (const auto& [name, bytes] : parts) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name), nullptr, 0, 0, 0))
            return {};
        file.write(bytes);
    }
    zip.close();
    return package;
}

} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed)
{
    std::minstd_rand random(seed);
    Parts parts =
        random() % 2 ? unzip(QByteArray(reinterpret_cast<char*>(data), qsizetype(size))) : Parts();
    if (parts.isEmpty())
        return LLVMFuzzerMutate(data, size, maxSize);
    QByteArray& part = parts[qsizetype(random() % parts.size())].second;
    const qsizetype length = part.size();
    part.resize(length + 256);
    part.resize(qsizetype(LLVMFuzzerMutate(reinterpret_cast<uint8_t*>(part.data()), size_t(length),
                                           size_t(part.size()))));
    const QByteArray package = zip(parts);
    if (package.isEmpty() || size_t(package.size()) > maxSize)
        return LLVMFuzzerMutate(data, size, maxSize);
    std::memcpy(data, package.constData(), size_t(package.size()));
    return size_t(package.size());
}
