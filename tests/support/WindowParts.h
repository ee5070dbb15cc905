#pragma once

#include "dialogs/SearchCommands.h"
#include "documents/DocumentList.h"
#include "documents/FileCommands.h"
#include "documents/Recovery.h"
#include "editing/EditorMarks.h"
#include "editing/UndoSnapshot.h"
#include "platform/RichTextBox.h"
#include "seed/SeedPrompter.h"
#include "spelling/SpellingCommands.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

// The window's controls, entries and subsystems found as a user or a screen reader finds
// them: by name, or as the one child of their kind. A missing one fails the test at once.

template <class Child> Child* child(const QObject* window, const char* name = nullptr)
{
    Child* found =
        name ? window->findChild<Child*>(QLatin1String(name)) : window->findChild<Child*>();
    if (!found)
        qFatal("the window has no %s", name ? name : Child::staticMetaObject.className());
    return found;
}

/// A menu entry, a toolbar button or a menu by its name, such as "mnuBold".
inline QAction* action(const QObject* window, const char* name)
{
    return child<QAction>(window, name);
}

inline QMenu* menu(const QObject* window, const char* name)
{
    return child<QMenu>(window, name);
}

/// The tool button that shows an entry on the toolbar.
inline QToolButton* button(const QObject* window, const char* name)
{
    auto* found = qobject_cast<QToolButton*>(
        child<QToolBar>(window, "tbrVellumo")->widgetForAction(action(window, name)));
    if (!found)
        qFatal("%s is not on the toolbar", name);
    return found;
}

inline RichTextBox* txtFile(const QObject* w)
{
    return child<RichTextBox>(w, "txtFile");
}
inline QComboBox* cmbFiles(const QObject* w)
{
    return child<QComboBox>(w, "cmbFiles");
}
inline QToolBar* tbrVellumo(const QObject* w)
{
    return child<QToolBar>(w, "tbrVellumo");
}
inline QTimer* Timer1(const QObject* w)
{
    return child<QTimer>(w, "Timer1");
}
inline QStatusBar* sbrVellumo(const QObject* w)
{
    return child<QStatusBar>(w, "sbrVellumo");
}
inline QLabel* lblWordCount(const QObject* w)
{
    return child<QLabel>(w, "lblWordCount");
}

inline DocumentList* documents(const QObject* w)
{
    return child<DocumentList>(w);
}
inline FileCommands* files(const QObject* w)
{
    return child<FileCommands>(w);
}
inline Recovery* recovery(const QObject* w)
{
    return child<Recovery>(w);
}
inline UndoSnapshot* undo(const QObject* w)
{
    return child<UndoSnapshot>(w);
}
inline SeedPrompter* seed(const QObject* w)
{
    return child<SeedPrompter>(w);
}
inline SearchCommands* search(const QObject* w)
{
    return child<SearchCommands>(w);
}
inline EditorMarks* marks(const QObject* w)
{
    return child<EditorMarks>(w);
}
inline SpellingCommands* spelling(const QObject* w)
{
    return child<SpellingCommands>(w);
}

/// Why the list, the store, the caption and the editor do not agree on the documents and on
/// which one is current; empty while they do. Save writes the current document's text to the
/// file its name gives, so any disagreement may write one document's text over another's file.
inline QString documentsDisagree(const QObject* w)
{
    const DocumentStore& store = documents(w)->store();
    const QComboBox* list = cmbFiles(w);
    if (list->count() != store.count())
        return QStringLiteral("the list has %1 entries, the store %2")
            .arg(list->count())
            .arg(store.count());
    for (int i = 0; i < store.count(); ++i)
        if (list->itemText(i) != store.at(i).name())
            return QStringLiteral("entry %1 is %2, document %1 is %3")
                .arg(i)
                .arg(list->itemText(i), store.at(i).name());
    if (list->currentIndex() != store.curDoc())
        return QStringLiteral("the list shows %1, the store's current is %2")
            .arg(list->currentIndex())
            .arg(store.curDoc());
    const QString caption = static_cast<const QWidget*>(w)->windowTitle();
    if (caption != DocumentList::captionFor(store.current().name()))
        return QStringLiteral("the caption is %1 while %2 is current")
            .arg(caption, store.current().name());
    if (store.current().kept())
        return QStringLiteral("the current document's text is kept aside, not shown");
    return {};
}
