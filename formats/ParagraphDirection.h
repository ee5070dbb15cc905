#pragma once

#include <QObject>
#include <QStringView>

class QTextDocument;

/// Keeps a document's paragraphs left to right until right-to-left text appears in it. Qt
/// otherwise works out each paragraph's direction from its text whenever it lays it out, and a
/// keystroke lays out again every paragraph after it: at book length, scanning their text was a
/// third of each keystroke. Once right-to-left text is there, Qt decides each paragraph as before,
/// so what shows is the same either way.
class ParagraphDirection : public QObject
{
    Q_OBJECT

public:
    /// Starts following document, or looks at its whole text again after it was filled without
    /// a layout (it says where it changed only once it has one).
    static void follow(QTextDocument& document);
    /// Whether text holds a character that makes a paragraph right to left.
    static bool hasRightToLeft(QStringView text);

private:
    explicit ParagraphDirection(QTextDocument& document);
    void noteChange(int position, int removed, int added);
    void look(QStringView text);

    QTextDocument& m_document;
    bool m_fixed = true;
};
