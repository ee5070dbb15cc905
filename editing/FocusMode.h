#pragma once

#include <QObject>

#include <array>

class QAction;
class RichTextBox;

/// Focus: all the text on screen but the caret's paragraph, sentence or three lines is
/// dimmed, by a veil drawn over it; the document itself never changes.
class FocusMode : public QObject
{
    Q_OBJECT

public:
    enum Unit { Off, Paragraph, Sentence, ThreeLines, UnitCount };
    /// View > Focus's entries, in the order of Unit; the one checked is the unit shown.
    using Entries = std::array<QAction*, UnitCount>;

    FocusMode(RichTextBox& editor, const Entries& entries, QObject* parent = nullptr);

    Unit unit() const { return m_unit; }
    void setUnit(int unit);

    /// The caret moved or the text changed: the lit unit follows the caret.
    void txtFile_SelChange();

protected:
    /// Lines wrap anew when the view changes width, which moves three lines' ends.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    RichTextBox& m_editor;
    Entries m_entries;
    Unit m_unit = Off;
};
