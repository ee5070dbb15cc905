#include "formats/DocumentFeatures.h"

#include "formats/PageSetup.h"
#include "formats/base/DocumentInfo.h"
#include "formats/base/PageFurniture.h"
#include "formats/base/TextProperties.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>

#include <bit>

namespace {

using Features = DocumentFeatures::Features;
using Feature = DocumentFeatures::Feature;

Features ofCharacters(const QTextCharFormat& format, const QFont& documentFont)
{
    Features features;
    if (format.fontWeight() > QFont::Normal || format.fontItalic() || format.fontStrikeOut())
        features |= Feature::Emphasis;
    if (format.fontUnderline() && !format.isAnchor())
        features |= Feature::Underline;
    if (format.hasProperty(QTextFormat::BackgroundBrush) ||
        (format.hasProperty(QTextFormat::ForegroundBrush) &&
         format.foreground().color() != Qt::black && !format.isAnchor()))
        features |= Feature::Colours;
    const QStringList families = format.fontFamilies().toStringList();
    if ((!families.isEmpty() && families.constFirst() != documentFont.family()) ||
        (format.hasProperty(QTextFormat::FontPointSize) &&
         format.fontPointSize() != documentFont.pointSizeF()))
        features |= Feature::Fonts;
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript ||
        format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        features |= Feature::Scripts;
    if (format.isAnchor())
        features |= Feature::Links;
    if (format.isImageFormat())
        features |= Feature::Pictures;
    if (format.objectType() == TextProperties::HiddenTextObject)
        features |= Feature::HiddenText;
    if (format.hasProperty(PageFurniture::NoteMark))
        features |= Feature::Notes;
    return features;
}

Features ofParagraph(const QTextBlock& block)
{
    const QTextBlockFormat format = block.blockFormat();
    Features features;
    if (format.hasProperty(QTextFormat::BlockAlignment) &&
        !(format.alignment() & (Qt::AlignLeft | Qt::AlignLeading)))
        features |= Feature::Alignment;
    // A quotation's indents are how it shows, which every format with quotations keeps.
    if ((format.leftMargin() != 0 || format.rightMargin() != 0 || format.textIndent() != 0) &&
        !format.hasProperty(QTextFormat::BlockQuoteLevel))
        features |= Feature::Indents;
    // Space between paragraphs is how every format shows them apart; only spacing lines is
    // a choice some cannot hold.
    if (format.lineHeightType() != QTextBlockFormat::SingleHeight)
        features |= Feature::Spacing;
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        features |= Feature::PageBreaks;
    if (block.textList())
        features |= Feature::Lists;
    return features;
}

Features ofWhole(const QTextDocument& document)
{
    Features features;
    // Every new document carries the paper of the writer's country, which is no loss.
    if (PageSetup::of(document) != PageSetup::forLocale(QLocale::system()) ||
        !PageFurniture::of(document).isEmpty())
        features |= Feature::PageLayout;
    if (DocumentInfo::of(document) != DocumentInfo())
        features |= Feature::Info;
    if (!document.rootFrame()->childFrames().isEmpty())
        features |= Feature::Tables;
    return features;
}

} // namespace

DocumentFeatures::Features DocumentFeatures::of(const QTextDocument& document)
{
    Features features = ofWhole(document);
    const QFont font = document.defaultFont();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        features |= ofParagraph(block);
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            features |= ofCharacters(fragment.fragment().charFormat(), font);
    }
    return features;
}

QStringList DocumentFeatures::names(Features features)
{
    static const char* const phrases[] = {
        QT_TRANSLATE_NOOP("DocumentFeatures", "bold, italic and strike-through"),
        QT_TRANSLATE_NOOP("DocumentFeatures", "underlining"),
        QT_TRANSLATE_NOOP("DocumentFeatures", "colours"),
        QT_TRANSLATE_NOOP("DocumentFeatures", "fonts and sizes"),
        QT_TRANSLATE_NOOP("DocumentFeatures", "superscript and subscript"),
        QT_TRANSLATE_NOOP("DocumentFeatures", "links"),
        QT_TRANSLATE_NOOP("DocumentFeatures", "alignment"),
        QT_TRANSLATE_NOOP("DocumentFeatures", "indents"),
        QT_TRANSLATE_NOOP("DocumentFeatures", "line spacing"),
        QT_TRANSLATE_NOOP("DocumentFeatures", "page breaks"),
        QT_TRANSLATE_NOOP("DocumentFeatures", "list numbering"),
        QT_TRANSLATE_NOOP("DocumentFeatures", "tables"),
        QT_TRANSLATE_NOOP("DocumentFeatures", "pictures"),
        QT_TRANSLATE_NOOP("DocumentFeatures", "hidden text"),
        QT_TRANSLATE_NOOP("DocumentFeatures", "page setup, headers and footers"),
        QT_TRANSLATE_NOOP("DocumentFeatures", "footnotes"),
        QT_TRANSLATE_NOOP("DocumentFeatures", "title and author"),
    };
    QStringList names;
    for (unsigned bits = features.toInt(); bits != 0; bits &= bits - 1)
        names << QCoreApplication::translate("DocumentFeatures", phrases[std::countr_zero(bits)]);
    return names;
}
