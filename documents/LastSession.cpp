#include "documents/LastSession.h"

#include "documents/DocumentList.h"
#include "documents/FileCommands.h"
#include "platform/RichTextBox.h"

#include <QAction>
#include <QSettings>

#include <utility>

namespace {

const char* const keyReopen = "ReopenLastSession";
const char* const keySession = "LastSession";
const char* const keyCurrent = "LastSessionCurrent";
const char* const keyFile = "File";
const char* const keyAnchor = "Anchor";
const char* const keyCaret = "Caret";
const char* const keyLeft = "Left";
const char* const keyTop = "Top";
const char* const keyShownEnd = "ShownEnd";

} // namespace

LastSession::LastSession(RichTextBox& editor, DocumentList& documents, FileCommands& files,
                         QAction& entry, QObject* parent)
    : QObject(parent), m_editor(editor), m_documents(documents), m_files(files), m_entry(entry)
{
    m_entry.setChecked(true);
}

void LastSession::load(QSettings& settings)
{
    m_entry.setChecked(settings.value(QLatin1String(keyReopen), true).toBool());
    m_storedCurrent = settings.value(QLatin1String(keyCurrent), -1).toInt();
    const int count = settings.beginReadArray(QLatin1String(keySession));
    m_stored.clear();
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        const auto number = [&](const char* key) {
            return settings.value(QLatin1String(key)).toLongLong();
        };
        m_stored.append({settings.value(QLatin1String(keyFile)).toString(),
                         {number(keyAnchor), number(keyCaret), int(number(keyLeft)),
                          int(number(keyTop)), number(keyShownEnd)}});
    }
    settings.endArray();
}

void LastSession::save(QSettings& settings) const
{
    settings.setValue(QLatin1String(keyReopen), m_entry.isChecked());
    int current = -1;
    settings.beginWriteArray(QLatin1String(keySession));
    int written = 0;
    for (const Remembered& remembered : m_remembered) {
        // Only a file can be opened again; what was never saved was saved or let go at the exit.
        if (!remembered.document->hasFile())
            continue;
        if (remembered.document == m_rememberedCurrent)
            current = written;
        settings.setArrayIndex(written++);
        const TextPlace& place = remembered.place;
        settings.setValue(QLatin1String(keyFile), remembered.document->name());
        settings.setValue(QLatin1String(keyAnchor), place.anchor);
        settings.setValue(QLatin1String(keyCaret), place.caret);
        settings.setValue(QLatin1String(keyLeft), place.left);
        settings.setValue(QLatin1String(keyTop), place.top);
        settings.setValue(QLatin1String(keyShownEnd), place.shownEnd);
    }
    settings.endArray();
    settings.setValue(QLatin1String(keyCurrent), current);
}

void LastSession::remember()
{
    const DocumentStore& store = m_documents.store();
    m_remembered.clear();
    for (int i = 0; i < store.count(); ++i) {
        const Document& document = store.at(i);
        const bool shown = i == store.curDoc();
        m_remembered.append({&document, shown ? m_editor.place() : document.place()});
    }
    m_rememberedCurrent = &store.current();
}

void LastSession::reopen()
{
    if (!m_entry.isChecked())
        return;
    QStringList toOpen;
    for (const Entry& entry : std::as_const(m_stored))
        toOpen << entry.path;
    m_files.openAtStartup(toOpen);
    const DocumentStore& store = m_documents.store();
    // The document to show gets its place first: showing it puts the writer there, while
    // another document left then keeps the place it had in the editor.
    const Entry current = m_stored.value(m_storedCurrent);
    const int shown = current.path.isEmpty() ? -1 : store.indexOf(current.path);
    if (shown >= 0) {
        m_documents.setPlace(shown, current.place);
        m_documents.selectEntry(shown);
    }
    for (const Entry& entry : std::as_const(m_stored))
        if (const int index = store.indexOf(entry.path); index >= 0 && index != shown)
            m_documents.setPlace(index, entry.place);
}

void LastSession::mnuReopenSession_Click()
{
    m_entry.toggle();
}
