#pragma once

#include <QCoreApplication>
#include <QString>

/// How the writer is told what a document or a paste held that Quillmere cannot keep, for the
/// losses more than one reader finds.
class LossNames
{
public:
    /// A table's rows and columns; its cells' texts stay, as paragraphs.
    static QString tableLayout()
    {
        return QCoreApplication::translate("RtfReader", "table layout (cell texts are kept)");
    }
};
