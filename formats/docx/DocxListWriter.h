#pragma once

#include "formats/docx/DocxNumbering.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTextListFormat>

#include <array>
#include <optional>

class QTextList;

/// The lists of a document being written, as Word's numbering (numbering.xml): lists that carry
/// one list id are one Word list, each at its own level.
class DocxListWriter
{
public:
    /// The numId of list; list's format becomes that of its level.
    int numberOf(const QTextList& list);
    bool isEmpty() const { return m_lists.isEmpty(); }
    QByteArray xml() const;

private:
    using Levels = std::array<std::optional<QTextListFormat>, DocxNumbering::levelCount>;
    QList<Levels> m_lists;
    /// The index of each level's format among the document's, -1 where there is none: lists
    /// alike share their levels' markup.
    QList<std::array<int, DocxNumbering::levelCount>> m_formatIndexes;
    QHash<int, int> m_byId;
    QHash<const QTextList*, int> m_byList;
};
