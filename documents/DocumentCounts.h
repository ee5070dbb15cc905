#pragma once

#include "documents/WordCount.h"

#include <QObject>

#include <memory>

class QTextBlock;
class QTextDocument;

/// The word count of a document, kept with each paragraph: an edit recounts only the
/// paragraphs it touched, so the cost of a keystroke does not grow with the document.
///
/// Each paragraph carries its own count, which leaves the total as the paragraph goes; the
/// counts live and die with the document, also while it is kept aside.
class DocumentCounts : public QObject
{
    Q_OBJECT

public:
    /// The counts of document; the first call counts the whole document once.
    static DocumentCounts& of(QTextDocument& document);

    /// The whole document; paragraph breaks are no characters.
    WordCount total() const { return *m_total; }
    /// The characters [start, end) of the document, whole paragraphs from their counts.
    WordCount range(int start, int end) const;

private:
    explicit DocumentCounts(QTextDocument& document);
    void document_ContentsChange(int position, int removed, int added);
    void recount(const QTextBlock& block);

    QTextDocument& m_document;
    /// Shared with the paragraphs' counts, which may outlive this object as the document goes.
    std::shared_ptr<WordCount> m_total;
};
