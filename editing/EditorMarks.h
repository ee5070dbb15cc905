#pragma once

#include <QObject>
#include <QTextEdit>

#include <array>

class RichTextBox;

/// What is drawn over the editor's text and never stored in it: the spelling underline and
/// the soft background of the seed words just written. Each has a layer of its own, and the
/// editor shows them all at once.
class EditorMarks : public QObject
{
    Q_OBJECT

public:
    enum Layer { Injection, Spelling, LayerCount };

    explicit EditorMarks(RichTextBox& editor, QObject* parent = nullptr);

    /// Replaces the marks of one layer; the others stay.
    void setMarks(Layer layer, const QList<QTextEdit::ExtraSelection>& marks);
    const QList<QTextEdit::ExtraSelection>& marks(Layer layer) const { return m_layers[layer]; }

    /// The editor's text changed, or it shows another document, whose text the marks of the
    /// one before must not cover.
    void txtFile_Change();

private:
    void show();

    RichTextBox& m_editor;
    std::array<QList<QTextEdit::ExtraSelection>, LayerCount> m_layers;
};
