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
