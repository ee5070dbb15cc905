#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QTextDocument;
class RichTextBox;
class SeedPrompter;
class UndoSnapshot;

/// Seed > Reroll: the run written last, while nothing has changed since, makes way for a new
/// draw at the same place, one step for Undo.
class SeedReroll : public QObject
{
    Q_OBJECT

public:
    SeedReroll(RichTextBox& editor, SeedPrompter& prompter, UndoSnapshot& undo, QAction& mnuReroll,
               QObject* parent = nullptr);

    /// Whether the run written last is still on the page as it was written.
    bool canReroll() const;
    void mnuReroll_Click();
    /// Notes the run an injection wrote.
    void seed_Injected(qint64 start, qint64 length);
    /// Any change to the text but the run's own ends what Reroll may replace.
    void txtFile_Change();

private:
    RichTextBox& m_editor;
    SeedPrompter& m_prompter;
    UndoSnapshot& m_undo;
    QAction& m_mnuReroll;
    QPointer<QTextDocument> m_document;
    quint64 m_revision = 0;
    qint64 m_start = 0;
    qint64 m_length = 0;
};
