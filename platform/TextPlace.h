#pragma once

#include <QtGlobal>

/// Where the writer is in a document: the selection, from its anchor to the caret, and how far
/// the view is scrolled, with the last character it showed.
struct TextPlace
{
    qint64 anchor = 0;
    qint64 caret = 0;
    int left = 0;
    int top = 0;
    qint64 shownEnd = 0;
};
