#include "editing/EditorTheme.h"

#include "platform/RichTextBox.h"

#include <QAction>

namespace {

QPalette pageColours(const QColor& page, const QColor& text)
{
    QPalette colours;
    colours.setColor(QPalette::Base, page);
    colours.setColor(QPalette::Text, text);
    return colours;
}

} // namespace

EditorTheme::EditorTheme(RichTextBox& editor, const Entries& entries, QObject* parent)
    : QObject(parent), m_editor(editor), m_entries(entries)
{
    setTheme(Desktop);
}

void EditorTheme::setTheme(int theme)
{
    m_theme = theme >= Light && theme < ThemeCount ? Theme(theme) : Desktop;
    for (int index = 0; index < ThemeCount; ++index)
        m_entries[size_t(index)]->setChecked(index == m_theme);
    // An empty palette has no colour of its own: the editor follows the desktop's, as it
    // changes.
    if (m_theme == Light)
        m_editor.setPalette(pageColours(Qt::white, Qt::black));
    else if (m_theme == Dark)
        m_editor.setPalette(pageColours(QColor(0x1f, 0x21, 0x24), QColor(0xdc, 0xdc, 0xd8)));
    else
        m_editor.setPalette(QPalette());
}
