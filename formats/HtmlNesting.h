#pragma once

#include <QString>

/// Keeps HTML from nesting deeper than any real page does, before Qt's HTML reader sees it.
///
/// Qt's reader walks up to the document's root for every element it closes, so its time grows
/// with the square of the depth: twenty thousand nested tags keep it busy for minutes. Elements
/// that open beyond a sane depth lose their tags here, as the RTF reader's deep groups lose
/// theirs; the text inside them stays, with the formatting of the levels above.
class HtmlNesting
{
public:
    /// Deeper than pages from browsers, mail programs and office suites nest.
    static constexpr int saneDepth = 256;

    /// html with the tags of elements that open beyond maxDepth left out; the same text when
    /// nothing goes that deep. Takes time in proportion to the length of html.
    static QString flattened(QStringView html, int maxDepth = saneDepth);
};
