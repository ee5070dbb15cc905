#pragma once

#include "formats/rtf/RtfRunStyle.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QRgb>
#include <QStringList>
#include <QTextFormat>

#include <optional>
#include <vector>

class QTextDocument;

/// Resolves each of a document's character formats once into the style the writer emits,
/// collecting fonts and colours in order of first use so output is deterministic.
class RtfStyleTable
{
public:
    explicit RtfStyleTable(const QTextDocument& document);
    /// A table for document, a header or footer, that goes on from tables' fonts and colours.
    RtfStyleTable(const QTextDocument& document, const RtfStyleTable& tables);
    /// Takes over other's fonts and colours, which go on from this table's.
    void adoptTables(const RtfStyleTable& other);

    /// The style of the format at formatIndex in the document's format collection, which may
    /// have grown since the table was made.
    const RtfRunStyle& styleFor(int formatIndex);
    /// Font families by table index; index 0 is the document's default font.
    const QStringList& fonts() const { return m_fonts; }
    /// The kind of face each font is, by table index.
    const QList<QFont::StyleHint>& fontHints() const { return m_fontHints; }
    /// Colours by table index minus one: index 0 is the automatic colour and is not stored.
    const QList<QRgb>& colors() const { return m_colors; }

private:
    RtfRunStyle resolve(const QTextCharFormat& format);
    int fontIndex(const QString& family, QFont::StyleHint hint);
    int colorIndex(QRgb color);

    const QTextDocument& m_document;
    QList<QTextFormat> m_formats;
    std::vector<std::optional<RtfRunStyle>> m_styles;
    RtfRunStyle m_defaultStyle;
    int m_defaultHalfPoints;
    QStringList m_fonts;
    QList<QFont::StyleHint> m_fontHints;
    QHash<QString, int> m_fontIndices;
    QList<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndices;
};
