#include "editing/EditorMarks.h"

#include "platform/RichTextBox.h"

#include <algorithm>

namespace {

bool sameMarks(const QList<QTextEdit::ExtraSelection>& a, const QList<QTextEdit::ExtraSelection>& b)
{
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(),
                      [](const QTextEdit::ExtraSelection& x, const QTextEdit::ExtraSelection& y) {
                          return x.cursor == y.cursor && x.cursor.anchor() == y.cursor.anchor() &&
                                 x.format == y.format;
                      });
}

} // namespace

EditorMarks::EditorMarks(RichTextBox& editor, QObject* parent) : QObject(parent), m_editor(editor)
{
}

// The same marks again would only make the editor repaint them.
void EditorMarks::setMarks(Layer layer, const QList<QTextEdit::ExtraSelection>& marks)
{
    if (sameMarks(m_layers[layer], marks))
        return;
    m_layers[layer] = marks;
    show();
}

void EditorMarks::txtFile_Change()
{
    bool stale = false;
    for (auto& layerMarks : m_layers)
        if (!layerMarks.isEmpty() &&
            layerMarks.constFirst().cursor.document() != m_editor.document()) {
            layerMarks.clear();
            stale = true;
        }
    if (stale)
        show();
}

void EditorMarks::show()
{
    QList<QTextEdit::ExtraSelection> all;
    for (const auto& layerMarks : m_layers)
        all += layerMarks;
    m_editor.setExtraSelections(all);
}
