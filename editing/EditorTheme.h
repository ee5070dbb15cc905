#pragma once

#include <QObject>

#include <array>

class QAction;
class RichTextBox;

/// The colours of the page and of its uncoloured text on screen: light, dark, or the
/// desktop's. Text with colours of its own keeps them, and what is saved or printed never
/// takes these.
class EditorTheme : public QObject
{
    Q_OBJECT

public:
    enum Theme { Light, Dark, Desktop, ThemeCount };
    /// View > Theme's entries, in the order of Theme; the one checked is the theme shown.
    using Entries = std::array<QAction*, ThemeCount>;

    EditorTheme(RichTextBox& editor, const Entries& entries, QObject* parent = nullptr);

    Theme theme() const { return m_theme; }
    void setTheme(int theme);

private:
    RichTextBox& m_editor;
    Entries m_entries;
    Theme m_theme = Desktop;
};
