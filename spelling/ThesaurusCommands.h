#pragma once

#include <QObject>

class QMenu;
class RichTextBox;
class Thesaurus;
class UndoSnapshot;

/// "Synonyms" on the right-click menu: words of like meaning for the word under the pointer,
/// one of which takes its place as one step for Undo.
class ThesaurusCommands : public QObject
{
    Q_OBJECT

public:
    /// How many synonyms the menu offers at most, over all senses.
    static constexpr int mostOffered = 24;

    ThesaurusCommands(RichTextBox& editor, Thesaurus& thesaurus, UndoSnapshot& undo,
                      QObject* parent = nullptr);

    /// Puts the word's synonyms, by sense, in a submenu; nothing when there are none.
    void txtFile_ContextMenu(QMenu* menu, qint64 position);

private:
    RichTextBox& m_editor;
    Thesaurus& m_thesaurus;
    UndoSnapshot& m_undo;
};
