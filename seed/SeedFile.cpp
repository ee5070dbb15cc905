#include "seed/SeedFile.h"

#include "formats/TextDecoding.h"

#include <QFile>

bool SeedFile::read(const QString& path)
{
    m_text.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_errorString = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_errorString = file.errorString();
        return false;
    }
    std::optional<QString> text = TextDecoding::decode(bytes);
    if (!text) {
        m_errorString = QStringLiteral("it is not a text file");
        return false;
    }
    m_text = std::move(*text);
    m_errorString.clear();
    return true;
}
