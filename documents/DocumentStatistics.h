#pragma once

#include "documents/SeedCount.h"
#include "documents/WordCount.h"

#include <QObject>

class QTimer;
class RichTextBox;

/// The words and characters of the document shown and of its selection, brought up to date
/// once the writer pauses. Views and goals listen to its signals; nothing here draws.
class DocumentStatistics : public QObject
{
    Q_OBJECT

public:
    /// How long the text must rest before it is counted again.
    static constexpr int restMs = 200;

    explicit DocumentStatistics(RichTextBox& editor, QObject* parent = nullptr);

    const WordCount& documentCount() const { return m_document; }
    const SeedCount& seedCount() const { return m_seed; }
    /// Zero while nothing is selected.
    const WordCount& selectionCount() const { return m_selection; }
    bool hasSelection() const { return m_hasSelection; }

    /// The text, the selection or the document shown changed: count once it rests.
    void txtFile_Change();
    /// Counts the document now shown and its selection.
    void tmrStatistics_Timer();

signals:
    /// The document's words or characters or what became of its seed text changed, or another
    /// document is shown.
    void documentCountChanged(const WordCount& count);
    /// The selection's count changed; hasSelection() tells whether there is one.
    void selectionCountChanged(const WordCount& count);

private:
    RichTextBox& m_editor;
    QTimer* m_timer = nullptr;
    WordCount m_document;
    SeedCount m_seed;
    WordCount m_selection;
    bool m_hasSelection = false;
    /// Whether anything was counted yet: the first count is news even when it is zero.
    bool m_counted = false;
};
