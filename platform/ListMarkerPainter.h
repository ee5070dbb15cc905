#pragma once

#include <QBrush>
#include <QRectF>

class QPainter;
class QTextDocument;

/// Draws the numbers of list items that Qt numbers otherwise than the list says, over the
/// numbers Qt drew, so the editor and the printout show where a list starts.
struct ListMarkerPainter
{
    /// Paints the markers of document's items within clip, in the document's coordinates, on
    /// a page of colour background, in the text colour text unless the item has its own.
    static void paint(QPainter& painter, const QTextDocument& document, const QRectF& clip,
                      const QBrush& background, const QBrush& text);
};
