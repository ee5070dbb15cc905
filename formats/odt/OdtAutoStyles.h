#pragma once

#include <QHash>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextListFormat>

#include <vector>

class XmlWriter;

/// The automatic styles a part's text uses, each written once however many paragraphs and
/// runs share it. Formats are told apart by their index in the document, which already holds
/// each distinct format once.
class OdtAutoStyles
{
public:
    /// Names begin with prefix, so the styles of two parts never share a name.
    explicit OdtAutoStyles(const QString& prefix) : m_prefix(prefix) {}

    /// The text style of a run in format, the document's formatIndex; empty when the run needs
    /// none.
    QString textStyle(int formatIndex, const QTextCharFormat& format);
    /// The style of a paragraph; chars, the paragraph's own character format, counts only for
    /// an empty paragraph, whose size it gives (chars index -1 otherwise). A paragraph that
    /// starts a page style names it.
    QString paragraphStyle(int formatIndex, const QTextBlockFormat& format, int charsIndex,
                           const QTextCharFormat& chars, const QString& masterPage = {});
    /// A list style whose level holds format.
    QString listStyle(const QTextListFormat& format, int level);
    /// The styles of a table and its columns and cells; lengths in twips.
    QString tableStyle(double width, double leftMargin, bool pageBreak);
    QString columnStyle(double width);
    QString cellStyle(double border, double padding);

    void write(XmlWriter& writer) const;

private:
    struct Paragraph
    {
        QString name;
        QTextBlockFormat format;
        QTextCharFormat chars;
        QString masterPage;
    };
    struct List
    {
        QString name;
        QTextListFormat format;
        int level;
    };
    struct Table
    {
        QString name;
        QString family;
        double width = 0;
        double leftMargin = 0;
        double border = 0;
        double padding = 0;
        bool pageBreak = false;
    };

    QString nextName(QChar kind, qsizetype count) const;
    void writeTable(XmlWriter& writer, const Table& table) const;

    QString m_prefix;
    QHash<int, QString> m_textNames;
    std::vector<std::pair<QString, QTextCharFormat>> m_texts;
    /// By the paragraph's format index and its character format's index.
    QHash<quint64, QString> m_paragraphNames;
    std::vector<Paragraph> m_paragraphs;
    std::vector<List> m_lists;
    QHash<QString, QString> m_tableNames;
    std::vector<Table> m_tables;
};
