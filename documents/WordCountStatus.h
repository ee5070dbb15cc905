#pragma once

#include <QObject>

class QLabel;
class QTimer;
class RichTextBox;

/// The current document's words and characters, or the selection's words, in the status bar,
/// brought up to date once the writer pauses.
class WordCountStatus : public QObject
{
    Q_OBJECT

public:
    /// How long the text must rest before the count is shown again.
    static constexpr int restMs = 200;

    WordCountStatus(RichTextBox& editor, QLabel& label, QObject* parent = nullptr);

    /// The text, the selection or the document shown changed: count once it rests.
    void txtFile_Change();
    /// Shows the count of the document now shown.
    void tmrWordCount_Timer();

    QTimer* tmrWordCount() const { return m_timer; }

private:
    RichTextBox& m_editor;
    QLabel& m_label;
    QTimer* m_timer = nullptr;
};
