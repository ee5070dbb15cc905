#pragma once

#include "formats/base/PartDeflater.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include <memory>

class QuaZip;

/// The zip package of an OpenDocument file, read part by part within bounds: a package of
/// more parts than any document has, or a part that inflates past what a document needs, is
/// refused rather than unpacked, so a crafted file cannot take the memory.
class OdtPackage
{
public:
    /// More parts than real documents hold.
    static constexpr int maxParts = 10000;
    /// Larger than any part of a real document, text or picture.
    static constexpr qint64 maxPartSize = qint64(1) << 30;
    /// What all parts read together may inflate to.
    static constexpr qint64 maxTotalSize = qint64(2) << 30;

    explicit OdtPackage(const QByteArray& data);
    ~OdtPackage();

    /// Whether the package opened; otherwise errorString() says why.
    bool isOpen() const { return m_error.isEmpty(); }
    QString errorString() const { return m_error; }
    bool contains(const QString& name);
    /// The inflated bytes of part name; empty, with errorString(), when it is missing, damaged,
    /// or too large. An empty part reads as empty with no error.
    QByteArray read(const QString& name);

private:
    QString check();
    QByteArray readCurrent(qint64 declaredSize, const QString& name);

    QBuffer m_buffer;
    std::unique_ptr<QuaZip> m_zip;
    QString m_error;
    qint64 m_inflated = 0;
};

/// Writes a package: the mimetype first and stored as it is, so a reader knows the file by
/// its first bytes, and every other part compressed.
class OdtPackageWriter
{
public:
    explicit OdtPackageWriter(const QByteArray& mimeType);
    ~OdtPackageWriter();

    void add(const QString& name, const QByteArray& data);
    void add(const QString& name, const DeflatedPart& part);
    /// The package's bytes; empty when the zip library failed.
    QByteArray finish();

private:
    QByteArray m_data;
    QBuffer m_buffer;
    std::unique_ptr<QuaZip> m_zip;
    bool m_failed = false;
};
