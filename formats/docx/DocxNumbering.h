#pragma once

#include <QHash>
#include <QString>
#include <QTextListFormat>

#include <array>
#include <map>
#include <string>

class XmlReader;

/// A document's list numbering (numbering.xml): for each list and level, how its paragraphs
/// are numbered, as the list formats the document keeps.
class DocxNumbering
{
public:
    static constexpr int levelCount = 9;

    /// Reads numbering.xml; false when it is damaged, with xml's error left in error.
    bool read(const QByteArray& numbering, QString* error);
    /// The list format of level in list numId; ListStyleUndefined when it numbers nothing.
    QTextListFormat format(int numId, int level) const;

    /// Word's names for what the numbers of a list style are, and back.
    static QLatin1StringView formatName(QTextListFormat::Style style);
    /// Word's level text (e.g. "%1.") of format at level, counted from 0.
    static QString levelText(const QTextListFormat& format, int level);

private:
    struct Level
    {
        QString numberFormat;
        QString text;
        int start = 1;
        bool given = false;
    };
    using Levels = std::array<Level, levelCount>;
    struct List
    {
        int abstract = 0;
        QHash<int, int> starts;
    };

    /// Reads a lvl element, or takes what the same bytes made before from read.
    static Level readLevel(XmlReader& xml, std::map<std::string, Level, std::less<>>& read);
    static Level readLevel(XmlReader& xml);
    void readList(XmlReader& xml);

    QHash<int, Levels> m_abstract;
    QHash<int, List> m_lists;
};
