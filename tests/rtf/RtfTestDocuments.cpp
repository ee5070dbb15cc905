#include "RtfTestDocuments.h"

#include "formats/BlankDocument.h"
#include "formats/rtf/RtfReader.h"
#include "formats/rtf/RtfWriter.h"
#include "tools/rtf/DocumentJson.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QTextDocument>

namespace {

// Text without \fs reads in this size.
constexpr double s_rtfDefaultPoints = 12;

QString runSummary(const QJsonObject& run, const QFont& defaultFont)
{
    QStringList attributes;
    for (const char* flag : {"bold", "italic", "underline", "strike"}) {
        if (run.value(QLatin1String(flag)).toBool())
            attributes.append(QString(QLatin1Char(flag[0])));
    }
    if (run.value("color").toString() != QLatin1String("#000000"))
        attributes.append(run.value("color").toString());
    if (run.value("font").toString() != defaultFont.family())
        attributes.append(run.value("font").toString());
    if (run.value("size").toDouble() != s_rtfDefaultPoints)
        attributes.append(QString::number(run.value("size").toDouble()));
    const QString text = run.value("text").toString();
    return attributes.isEmpty() ? text : u'{' + attributes.join(u',') + u':' + text + u'}';
}

} // namespace

QByteArray RtfTestDocuments::contents(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void RtfTestDocuments::checkReadAndKept(const QByteArray& rtf, const QString& expected,
                                        const std::function<QString(const QTextDocument&)>& summary)
{
    const auto document = read(rtf);
    QCOMPARE(summary(*document), expected);

    const QByteArray written = RtfWriter::write(*document);
    const auto reread = read(written);
    QCOMPARE(summary(*reread), expected);
    QCOMPARE(RtfWriter::write(*reread), written);
}

std::unique_ptr<QTextDocument> RtfTestDocuments::create()
{
    return std::unique_ptr<QTextDocument>(BlankDocument::create());
}

std::unique_ptr<QTextDocument> RtfTestDocuments::read(const QByteArray& rtf)
{
    auto document = create();
    RtfReader reader;
    const bool ok = reader.read(rtf, document.get());
    [&] { QVERIFY2(ok, qPrintable(reader.errorString())); }();
    return document;
}

std::unique_ptr<QTextDocument> RtfTestDocuments::fromJson(const QByteArray& json)
{
    auto document = create();
    QString error;
    const bool ok = DocumentJson::fromJson(json, document.get(), &error);
    [&] { QVERIFY2(ok, qPrintable(error)); }();
    return document;
}

QString RtfTestDocuments::summary(const QTextDocument& document)
{
    const QJsonArray paragraphs = QJsonDocument::fromJson(DocumentJson::toJson(document))
                                      .object()
                                      .value("paragraphs")
                                      .toArray();
    QStringList lines;
    for (const QJsonValue paragraph : paragraphs) {
        QString line =
            paragraph.toObject().value("bullet").toBool() ? QStringLiteral("* ") : QString();
        for (const QJsonValue run : paragraph.toObject().value("runs").toArray())
            line += runSummary(run.toObject(), document.defaultFont());
        lines.append(line);
    }
    return lines.join(u'\n');
}
