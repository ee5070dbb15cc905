#include "spelling/ThesaurusCommands.h"

#include "platform/RichTextBox.h"
#include "spelling/MenuWord.h"
#include "spelling/Thesaurus.h"

#include <QMenu>

namespace {

// A synonym for a word that starts a sentence starts it too.
QString inCaseOf(const QString& word, QString synonym)
{
    if (!word.isEmpty() && word.at(0).isUpper() && !synonym.isEmpty())
        synonym[0] = synonym.at(0).toUpper();
    return synonym;
}

} // namespace

ThesaurusCommands::ThesaurusCommands(RichTextBox& editor, Thesaurus& thesaurus, UndoSnapshot& undo,
                                     QObject* parent)
    : QObject(parent), m_editor(editor), m_thesaurus(thesaurus), m_undo(undo)
{
}

void ThesaurusCommands::txtFile_ContextMenu(QMenu* menu, qint64 position)
{
    const MenuWord word = MenuWord::at(m_editor, int(position));
    if (word.isNull())
        return;
    auto* synonyms = new QMenu(tr("Synonyms"), menu);
    synonyms->setObjectName(QStringLiteral("mnuSynonyms"));
    QList<QAction*> offered;
    for (const Thesaurus::Meaning& meaning : m_thesaurus.meanings(word.text())) {
        if (offered.size() >= mostOffered || meaning.synonyms.isEmpty())
            continue;
        synonyms->addSection(meaning.label);
        for (const QString& synonym : meaning.synonyms.mid(0, mostOffered - offered.size())) {
            const QString replacement = inCaseOf(word.text(), synonym);
            offered << synonyms->addAction(replacement, this, [this, word, replacement] {
                word.replace(m_editor, m_undo, replacement);
            });
        }
    }
    if (offered.isEmpty()) {
        delete synonyms;
        return;
    }
    word.withdrawWhenChanged(m_editor, menu, offered);
    QAction* first = menu->actions().value(0);
    menu->insertMenu(first, synonyms);
    menu->insertSeparator(first);
}
