#pragma once

#include <QFlags>
#include <QStringList>

class QTextDocument;

/// What a document uses beyond paragraphs of plain text, found in one walk of it, so a format
/// that cannot hold some of it can say what saving in it would lose.
class DocumentFeatures
{
public:
    enum Feature : unsigned {
        Emphasis = 1u << 0, ///< bold, italic, strike-through
        Underline = 1u << 1,
        Colours = 1u << 2, ///< text colours and highlighting
        Fonts = 1u << 3,   ///< faces and sizes other than the document's own
        Scripts = 1u << 4, ///< superscript and subscript
        Links = 1u << 5,
        Alignment = 1u << 6,
        Indents = 1u << 7,
        Spacing = 1u << 8, ///< line spacing
        PageBreaks = 1u << 9,
        Lists = 1u << 10,
        Tables = 1u << 11,
        Pictures = 1u << 12,
        HiddenText = 1u << 13,
        PageLayout = 1u << 14, ///< paper, margins, headers and footers
        Notes = 1u << 15,
        Info = 1u << 16, ///< title and author
    };
    Q_DECLARE_FLAGS(Features, Feature)

    static Features of(const QTextDocument& document);
    /// Each feature in features as a phrase for a question about saving, in the order above.
    static QStringList names(Features features);
};

Q_DECLARE_OPERATORS_FOR_FLAGS(DocumentFeatures::Features)
