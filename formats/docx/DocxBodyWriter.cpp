#include "formats/docx/DocxBodyWriter.h"

#include "formats/base/PageFurniture.h"
#include "formats/base/PictureBytes.h"
#include "formats/base/SeedRunXml.h"
#include "formats/base/TextProperties.h"
#include "formats/base/Twips.h"
#include "formats/docx/DocxProperties.h"
#include "formats/docx/DocxXml.h"

#include "formats/base/XmlWriter.h"
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <array>
#include <map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr double s_emuPerPixel = 9525;
constexpr int s_progressStep = 4096;

QString twips(double pixels)
{
    return QString::number(qRound(Twips::fromPixels(pixels)));
}

QString hex(const QColor& color)
{
    return color.name().sliced(1).toUpper();
}

// Characters XML cannot carry at all; the others are kept.
bool isWritable(char16_t c)
{
    return c >= 0x20 ? c != 0xfffe && c != 0xffff && c != QChar::ObjectReplacementCharacter
                     : c == u'\t' || c == u'\n' || c == u'\r';
}

bool isLoneSurrogate(QStringView text, qsizetype index)
{
    const QChar c = text[index];
    if (c.isHighSurrogate())
        return index + 1 == text.size() || !text[index + 1].isLowSurrogate();
    if (c.isLowSurrogate())
        return index == 0 || !text[index - 1].isHighSurrogate();
    return false;
}

// A unit a run's text element holds as it is: not a tab or a break, and not what XML cannot.
bool isOrdinary(char16_t c)
{
    return c >= 0x20 && c != QChar::LineSeparator && !QChar::isSurrogate(c) &&
           c < QChar::ObjectReplacementCharacter;
}

// How many of text's first units are ordinary; most text is, so it is looked at eight units at
// a time where the processor can.
qsizetype ordinaryLength(QStringView text)
{
    const char16_t* units = text.utf16();
    const qsizetype size = text.size();
    qsizetype index = 0;
#if defined(__SSE2__)
    // With its top bit flipped, a unit compares as signed as it would unsigned.
    const __m128i flip = _mm_set1_epi16(short(0x8000));
    const __m128i space = _mm_set1_epi16(short(0x20 ^ 0x8000));
    const __m128i lastOrdinary =
        _mm_set1_epi16(short((QChar::ObjectReplacementCharacter - 1) ^ 0x8000));
    const __m128i lineSeparator = _mm_set1_epi16(short(QChar::LineSeparator));
    const __m128i surrogateBits = _mm_set1_epi16(short(0xf800));
    const __m128i surrogate = _mm_set1_epi16(short(0xd800));
    for (; index + 8 <= size; index += 8) {
        const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + index));
        const __m128i flipped = _mm_xor_si128(eight, flip);
        const __m128i outside =
            _mm_or_si128(_mm_cmplt_epi16(flipped, space), _mm_cmpgt_epi16(flipped, lastOrdinary));
        const __m128i special =
            _mm_or_si128(_mm_cmpeq_epi16(eight, lineSeparator),
                         _mm_cmpeq_epi16(_mm_and_si128(eight, surrogateBits), surrogate));
        if (_mm_movemask_epi8(_mm_or_si128(outside, special)) != 0)
            break;
    }
#endif
    while (index < size && isOrdinary(units[index]))
        ++index;
    return index;
}

QSizeF naturalSize(const QByteArray& data)
{
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer);
    return reader.size();
}

int inHalfPoints(double points)
{
    return qRound(points * 2);
}

void writeRunProperties(XmlWriter& xml, const QTextCharFormat& format,
                        const DocxRunDefaults& defaults)
{
    const bool bold = format.fontWeight() >= QFont::DemiBold;
    const bool vertical = format.verticalAlignment() == QTextCharFormat::AlignSuperScript ||
                          format.verticalAlignment() == QTextCharFormat::AlignSubScript;
    QString family = format.fontFamilies().toStringList().value(0, defaults.documentFamily);
    if (family == defaults.family)
        family.clear();
    const int size = format.hasProperty(QTextFormat::FontPointSize)
                         ? inHalfPoints(format.fontPointSize())
                         : defaults.documentHalfPoints;
    const bool ownSize = size != defaults.halfPoints;
    const bool foreground = format.foreground().style() != Qt::NoBrush;
    const bool background = format.background().style() != Qt::NoBrush;
    const bool hidden = format.boolProperty(DocxRunProperties::Hidden);
    const bool seed = format.hasProperty(TextProperties::SeedRun);
    if (!seed && family.isEmpty() && !bold && !format.fontItalic() && !format.fontStrikeOut() &&
        format.fontCapitalization() == QFont::MixedCase && !hidden && !foreground && !ownSize &&
        !format.fontUnderline() && !background && !vertical)
        return;
    xml.writeStartElement(QStringLiteral("w:rPr"));
    // Seed words carry the character style other programs show them by; it comes first.
    if (seed) {
        xml.writeEmptyElement(QStringLiteral("w:rStyle"));
        xml.writeAttribute(QStringLiteral("w:val"), QLatin1String(DocxXml::seedTextStyle));
    }
    if (!family.isEmpty()) {
        xml.writeEmptyElement(QStringLiteral("w:rFonts"));
        for (const auto* name : {"w:ascii", "w:hAnsi", "w:cs", "w:eastAsia"})
            xml.writeAttribute(QLatin1String(name), family);
    }
    const auto toggle = [&xml](bool on, const char* name) {
        if (on)
            xml.writeEmptyElement(QLatin1String(name));
    };
    toggle(bold, "w:b");
    toggle(format.fontItalic(), "w:i");
    toggle(format.fontCapitalization() == QFont::AllUppercase, "w:caps");
    toggle(format.fontCapitalization() == QFont::SmallCaps, "w:smallCaps");
    toggle(format.fontStrikeOut(), "w:strike");
    toggle(hidden, "w:vanish");
    const auto value = [&xml](bool on, const char* name, const QString& value) {
        if (!on)
            return;
        xml.writeEmptyElement(QLatin1String(name));
        xml.writeAttribute(QStringLiteral("w:val"), value);
    };
    value(foreground, "w:color", hex(format.foreground().color()));
    value(ownSize, "w:sz", QString::number(size));
    value(format.fontUnderline(), "w:u", QStringLiteral("single"));
    if (background) {
        xml.writeEmptyElement(QStringLiteral("w:shd"));
        xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("clear"));
        xml.writeAttribute(QStringLiteral("w:color"), QStringLiteral("auto"));
        xml.writeAttribute(QStringLiteral("w:fill"), hex(format.background().color()));
    }
    value(vertical, "w:vertAlign",
          format.verticalAlignment() == QTextCharFormat::AlignSuperScript
              ? QStringLiteral("superscript")
              : QStringLiteral("subscript"));
    xml.writeEndElement();
}

} // namespace

DocxRunDefaults DocxRunDefaults::of(const QTextDocument& document)
{
    DocxRunDefaults defaults;
    defaults.documentFamily = document.defaultFont().family();
    defaults.documentHalfPoints = inHalfPoints(document.defaultFont().pointSizeF());
    // Some two thousand paragraphs tell as well as all of them, at a fraction of the time; their
    // characters are counted by format, and the few formats looked at after.
    const int step = std::max(1, document.blockCount() / 2048);
    std::map<int, qint64> byFormat;
    int index = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next(), ++index)
        if (index % step == 0)
            for (auto it = block.begin(); !it.atEnd(); ++it)
                byFormat[it.fragment().charFormatIndex()] += it.fragment().length();
    const QList<QTextFormat> formats = document.allFormats();
    std::map<std::pair<QString, int>, qint64> characters;
    for (const auto& [formatIndex, count] : byFormat) {
        const QTextFormat& format = formats.at(formatIndex);
        const int size = format.hasProperty(QTextFormat::FontPointSize)
                             ? inHalfPoints(format.doubleProperty(QTextFormat::FontPointSize))
                             : defaults.documentHalfPoints;
        characters[{
            format.toCharFormat().fontFamilies().toStringList().value(0, defaults.documentFamily),
            size}] += count;
    }
    const auto most = std::max_element(
        characters.begin(), characters.end(),
        [](const auto& one, const auto& other) { return one.second < other.second; });
    defaults.family = most == characters.end() ? defaults.documentFamily : most->first.first;
    defaults.halfPoints =
        most == characters.end() ? defaults.documentHalfPoints : most->first.second;
    return defaults;
}

DocxBodyWriter::DocxBodyWriter(const QTextDocument& document, DocxWriteContext& context,
                               DocxRelations& relations, XmlWriter& xml)
    : m_document(document), m_context(context), m_relations(relations), m_xml(xml)
{
    if (context.notes.isEmpty())
        return;
    const QList<QTextFormat> formats = document.allFormats();
    for (qsizetype index = 0; index < formats.size(); ++index)
        if (formats[index].hasProperty(PageFurniture::NoteBody) ||
            formats[index].hasProperty(PageFurniture::NotesHeading))
            m_noteFormats.insert(int(index));
}

void DocxBodyWriter::findNotes(const QTextDocument& document, DocxWriteContext& context)
{
    const QList<QTextFormat> formats = document.allFormats();
    if (std::none_of(formats.begin(), formats.end(), [](const QTextFormat& format) {
            return format.hasProperty(PageFurniture::NoteBody);
        }))
        return;
    QHash<int, QList<QTextBlock>> notes;
    QSet<int> marked;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (const int note = block.blockFormat().intProperty(PageFurniture::NoteBody)) {
            notes[note].append(block);
            continue;
        }
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            if (const int note =
                    fragment.fragment().charFormat().intProperty(PageFurniture::NoteMark))
                marked.insert(note);
    }
    // A note whose mark was deleted stays where it is, as paragraphs of the body.
    for (auto note = notes.cbegin(); note != notes.cend(); ++note)
        if (marked.contains(note.key()))
            context.notes.insert(note.key(), note.value());
}

void DocxBodyWriter::writeNamespaces(XmlWriter& xml)
{
    xml.writeAttribute(QStringLiteral("xmlns:w"), QLatin1String(DocxXml::wordNamespace));
    xml.writeAttribute(QStringLiteral("xmlns:r"), QLatin1String(DocxXml::relationshipNamespace));
    xml.writeAttribute(
        QStringLiteral("xmlns:wp"),
        QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"));
    xml.writeAttribute(QStringLiteral("xmlns:a"),
                       QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main"));
    xml.writeAttribute(QStringLiteral("xmlns:pic"),
                       QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture"));
    // Readers that do not know our seed runs' attributes are told to pass over them.
    xml.writeAttribute(
        QStringLiteral("xmlns:mc"),
        QStringLiteral("http://schemas.openxmlformats.org/markup-compatibility/2006"));
    xml.writeAttribute(QStringLiteral("xmlns:") + SeedRunXml::prefix, SeedRunXml::namespaceUri);
    xml.writeAttribute(QStringLiteral("mc:Ignorable"), SeedRunXml::prefix);
}

void DocxBodyWriter::writeStory(const Progress& progress)
{
    // One copy of the story's text, rather than one for each paragraph.
    m_storyText = m_document.toRawText();
    writeFrame(m_document.rootFrame()->begin(), progress);
    m_storyText.reset();
}

void DocxBodyWriter::writeNote(int note)
{
    m_note = note;
    for (const QTextBlock& block : m_context.notes.value(note))
        writeParagraph(block);
    m_note = 0;
}

void DocxBodyWriter::writeFrame(QTextFrame::iterator it, const Progress& progress)
{
    for (; !it.atEnd(); ++it) {
        if (QTextFrame* frame = it.currentFrame()) {
            if (const auto* table = qobject_cast<const QTextTable*>(frame))
                writeTable(*table);
            else
                writeFrame(frame->begin(), progress);
            continue;
        }
        const QTextBlock block = it.currentBlock();
        if (m_noteFormats.contains(block.blockFormatIndex())) {
            const QTextBlockFormat format = block.blockFormat();
            if (format.hasProperty(PageFurniture::NotesHeading) ||
                m_context.notes.contains(format.intProperty(PageFurniture::NoteBody)))
                continue;
        }
        writeParagraph(block);
        if (progress && ++m_written % s_progressStep == 0)
            progress(m_written, m_document.blockCount());
    }
}

void DocxBodyWriter::writeParagraph(const QTextBlock& block)
{
    m_xml.writeStartElement(QStringLiteral("w:p"));
    writeParagraphProperties(block);
    const QString own = m_storyText ? QString() : block.text();
    const QStringView text =
        m_storyText ? QStringView(*m_storyText).sliced(block.position(), block.length() - 1)
                    : QStringView(own);
    qsizetype at = 0;
    for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments) {
        const QTextFragment fragment = fragments.fragment();
        writeFragment(fragment, text.sliced(at, fragment.length()));
        at += fragment.length();
    }
    closeLink();
    m_xml.writeEndElement();
}

// Paragraphs of one format have the same properties, empty ones of one mark's format too: they
// are written once for all of them. Tables are full of empty paragraphs.
void DocxBodyWriter::writeParagraphProperties(const QTextBlock& block)
{
    const std::pair key(block.blockFormatIndex(),
                        block.length() == 1 ? block.charFormatIndex() : -1);
    auto found = m_paragraphProperties.constFind(key);
    if (found == m_paragraphProperties.constEnd())
        found = m_paragraphProperties.insert(key, paragraphProperties(block));
    m_xml.writeRaw(*found);
}

QByteArray DocxBodyWriter::paragraphProperties(const QTextBlock& block)
{
    XmlWriter xml;
    const QTextBlockFormat format = block.blockFormat();
    xml.writeStartElement(QStringLiteral("w:pPr"));
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        xml.writeEmptyElement(QStringLiteral("w:pageBreakBefore"));
    const QTextList* list = block.textList();
    if (list) {
        xml.writeStartElement(QStringLiteral("w:numPr"));
        xml.writeEmptyElement(QStringLiteral("w:ilvl"));
        xml.writeAttribute(QStringLiteral("w:val"),
                           QString::number(std::clamp(list->format().indent() - 1, 0,
                                                      DocxNumbering::levelCount - 1)));
        xml.writeEmptyElement(QStringLiteral("w:numId"));
        xml.writeAttribute(QStringLiteral("w:val"),
                           QString::number(m_context.lists.numberOf(*list)));
        xml.writeEndElement();
    }
    writeTabs(xml, format,
              list ? 0 : qRound(Twips::fromPixels(format.leftMargin() + format.textIndent())));
    writeSpacing(xml, format);
    if (!list)
        writeIndents(xml, format);
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (format.hasProperty(QTextFormat::BlockAlignment) && alignment != Qt::AlignLeft) {
        xml.writeEmptyElement(QStringLiteral("w:jc"));
        xml.writeAttribute(QStringLiteral("w:val"),
                           alignment & Qt::AlignHCenter   ? QStringLiteral("center")
                           : alignment & Qt::AlignRight   ? QStringLiteral("right")
                           : alignment & Qt::AlignJustify ? QStringLiteral("both")
                                                          : QStringLiteral("left"));
    }
    // An empty paragraph keeps its mark's formatting, e.g. a blank line in 20 pt.
    if (block.length() == 1)
        writeRunProperties(xml, block.charFormat(), m_context.runDefaults);
    xml.writeEndElement();
    return xml.take();
}

// Word measures tab stops from the margin, the document from where the first line starts.
void DocxBodyWriter::writeTabs(XmlWriter& xml, const QTextBlockFormat& format, int lineStart)
{
    const QList<QTextOption::Tab> tabs = format.tabPositions();
    if (tabs.isEmpty())
        return;
    const QString leaders = format.stringProperty(TextProperties::TabLeaders);
    xml.writeStartElement(QStringLiteral("w:tabs"));
    for (qsizetype index = 0; index < tabs.size(); ++index) {
        const QTextOption::TabType type = tabs[index].type;
        xml.writeEmptyElement(QStringLiteral("w:tab"));
        xml.writeAttribute(QStringLiteral("w:val"),
                           type == QTextOption::RightTab       ? QStringLiteral("right")
                           : type == QTextOption::CenterTab    ? QStringLiteral("center")
                           : type == QTextOption::DelimiterTab ? QStringLiteral("decimal")
                                                               : QStringLiteral("left"));
        if (index < leaders.size() && leaders[index] != u' ')
            xml.writeAttribute(QStringLiteral("w:leader"),
                               DocxRunProperties::leaderName(leaders[index].unicode()));
        xml.writeAttribute(
            QStringLiteral("w:pos"),
            QString::number(qRound(Twips::fromPixels(tabs[index].position)) + lineStart));
    }
    xml.writeEndElement();
}

void DocxBodyWriter::writeSpacing(XmlWriter& xml, const QTextBlockFormat& format)
{
    xml.writeEmptyElement(QStringLiteral("w:spacing"));
    xml.writeAttribute(QStringLiteral("w:before"), twips(format.topMargin()));
    xml.writeAttribute(QStringLiteral("w:after"), twips(format.bottomMargin()));
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        xml.writeAttribute(QStringLiteral("w:line"),
                           QString::number(qRound(format.lineHeight() * 240 / 100)));
        xml.writeAttribute(QStringLiteral("w:lineRule"), QStringLiteral("auto"));
        break;
    case QTextBlockFormat::FixedHeight:
    case QTextBlockFormat::MinimumHeight:
        xml.writeAttribute(QStringLiteral("w:line"), twips(format.lineHeight()));
        xml.writeAttribute(QStringLiteral("w:lineRule"),
                           format.lineHeightType() == QTextBlockFormat::FixedHeight
                               ? QStringLiteral("exact")
                               : QStringLiteral("atLeast"));
        break;
    default:
        break;
    }
}

void DocxBodyWriter::writeIndents(XmlWriter& xml, const QTextBlockFormat& format)
{
    if (format.leftMargin() == 0 && format.rightMargin() == 0 && format.textIndent() == 0)
        return;
    xml.writeEmptyElement(QStringLiteral("w:ind"));
    xml.writeAttribute(QStringLiteral("w:left"), twips(format.leftMargin()));
    xml.writeAttribute(QStringLiteral("w:right"), twips(format.rightMargin()));
    if (format.textIndent() < 0)
        xml.writeAttribute(QStringLiteral("w:hanging"), twips(-format.textIndent()));
    else
        xml.writeAttribute(QStringLiteral("w:firstLine"), twips(format.textIndent()));
}

void DocxBodyWriter::writeFragment(const QTextFragment& fragment, QStringView text)
{
    // Most runs are text in a format met before, with nothing more to them.
    if (const auto index = size_t(fragment.charFormatIndex());
        index < m_plainRuns.size() && !m_plainRuns[index].isEmpty()) {
        closeLink();
        m_xml.writeRaw(m_plainRuns[index]);
        writeText(text);
        m_xml.writeRaw("</w:r>");
        return;
    }
    const QTextCharFormat format = fragment.charFormat();
    const QString link = format.isAnchor() ? format.anchorHref() : QString();
    if (link != m_link) {
        closeLink();
        openLink(link);
    }
    if (format.isImageFormat()) {
        for (qsizetype index = 0; index < text.size(); ++index)
            writePicture(format.toImageFormat());
    } else if (format.objectType() == TextProperties::HiddenTextObject) {
        QTextCharFormat hidden = format;
        hidden.setProperty(DocxRunProperties::Hidden, true);
        for (qsizetype index = 0; index < text.size(); ++index)
            writeRun(format.stringProperty(TextProperties::HiddenText), hidden);
    } else if (const int note = format.intProperty(PageFurniture::NoteMark)) {
        writeMark(note, text, format);
    } else if (format.boolProperty(PageFurniture::PageNumber)) {
        m_xml.writeStartElement(QStringLiteral("w:fldSimple"));
        m_xml.writeAttribute(QStringLiteral("w:instr"), QStringLiteral(" PAGE "));
        writeRun(text, format);
        m_xml.writeEndElement();
    } else {
        writeRun(text, format, fragment.charFormatIndex());
    }
}

void DocxBodyWriter::writeRun(QStringView text, const QTextCharFormat& format, int formatIndex)
{
    m_xml.writeStartElement(QStringLiteral("w:r"));
    const bool seed = format.hasProperty(TextProperties::SeedRun);
    if (seed)
        SeedRunXml::write(m_xml, format);
    if (formatIndex < 0) {
        writeRunProperties(m_xml, format, m_context.runDefaults);
    } else {
        // A document has few formats and many runs: each format's properties are written once
        // and copied after.
        auto properties = m_runProperties.find(formatIndex);
        if (properties == m_runProperties.end()) {
            XmlWriter xml;
            writeRunProperties(xml, format, m_context.runDefaults);
            properties = m_runProperties.insert(formatIndex, xml.take());
            if (!seed && !format.isAnchor()) {
                m_plainRuns.resize(std::max(m_plainRuns.size(), size_t(formatIndex) + 1));
                m_plainRuns[size_t(formatIndex)] = "<w:r>" + *properties;
            }
        }
        m_xml.writeRaw(*properties);
    }
    writeText(text);
    m_xml.writeEndElement();
}

// Tabs and line breaks are elements of their own; what XML cannot hold is left out.
void DocxBodyWriter::writeText(QStringView text)
{
    qsizetype start = 0;
    // A run's text is most of a part: its element is markup made once.
    const auto flush = [&](qsizetype end) {
        if (end > start) {
            m_xml.writeRaw("<w:t xml:space=\"preserve\">");
            m_xml.writeCharacters(text.sliced(start, end - start));
            m_xml.writeRaw("</w:t>");
        }
        start = end + 1;
    };
    const qsizetype size = text.size();
    for (qsizetype index = ordinaryLength(text); index < size;
         index += 1 + ordinaryLength(text.sliced(index + 1))) {
        const char16_t c = text[index].unicode();
        if (c == u'\t') {
            flush(index);
            m_xml.writeEmptyElement(QStringLiteral("w:tab"));
        } else if (c == QChar::LineSeparator || c == u'\n' || c == u'\r') {
            flush(index);
            m_xml.writeEmptyElement(QStringLiteral("w:br"));
        } else if (!isWritable(c) || isLoneSurrogate(text, index)) {
            flush(index);
        }
    }
    flush(size);
}

// A mark in the body points to its note, which is written in its part with the id it gets
// here; a note's own mark, at its start, shows its number. A mark of the writer's own is its
// text, after the reference in the body and alone in the note, as Word writes it.
void DocxBodyWriter::writeMark(int note, QStringView text, const QTextCharFormat& format)
{
    const QList<QTextBlock> blocks = m_context.notes.value(note);
    const bool custom = format.boolProperty(PageFurniture::CustomMark);
    if (blocks.isEmpty() || (m_note != 0 && m_note != note) || (custom && m_note == note)) {
        writeRun(custom ? text : QString::number(note), format);
        return;
    }
    const bool endnote = blocks.first().blockFormat().boolProperty(PageFurniture::Endnote);
    m_xml.writeStartElement(QStringLiteral("w:r"));
    writeRunProperties(m_xml, format, m_context.runDefaults);
    if (m_note == note) {
        m_xml.writeEmptyElement(endnote ? QStringLiteral("w:endnoteRef")
                                        : QStringLiteral("w:footnoteRef"));
    } else {
        QList<int>& notes = endnote ? m_context.endnotes : m_context.footnotes;
        if (!m_context.noteIds.contains(note)) {
            notes.append(note);
            m_context.noteIds.insert(note, int(notes.size()));
        }
        m_xml.writeEmptyElement(endnote ? QStringLiteral("w:endnoteReference")
                                        : QStringLiteral("w:footnoteReference"));
        m_xml.writeAttribute(QStringLiteral("w:id"),
                             QString::number(m_context.noteIds.value(note)));
        if (custom) {
            m_xml.writeAttribute(QStringLiteral("w:customMarkFollows"), QStringLiteral("1"));
            writeText(text);
        }
    }
    m_xml.writeEndElement();
}

void DocxBodyWriter::writePicture(const QTextImageFormat& format)
{
    auto found = m_context.pictures.find(format.name());
    if (found == m_context.pictures.end()) {
        const PictureBytes picture = PictureBytes::of(
            m_document.resource(QTextDocument::ImageResource, QUrl(format.name())));
        const QByteArray& data = picture.data;
        const QString extension =
            picture.kind == PictureBytes::Jpeg ? QStringLiteral("jpeg") : QStringLiteral("png");
        if (data.isEmpty())
            return;
        const QString target =
            QStringLiteral("media/image%1.%2").arg(m_context.media.size() + 1).arg(extension);
        m_context.media.append({QStringLiteral("word/") + target, data});
        found = m_context.pictures.insert(format.name(), {target, naturalSize(data)});
    }
    QSizeF size(format.width(), format.height());
    const QSizeF natural = found->size;
    if (size.width() <= 0 && size.height() <= 0)
        size = natural;
    else if (size.width() <= 0 && natural.height() > 0)
        size.setWidth(natural.width() * size.height() / natural.height());
    else if (size.height() <= 0 && natural.width() > 0)
        size.setHeight(natural.height() * size.width() / natural.width());
    writeDrawing(m_relations.add(u"image", found->target), size);
}

void DocxBodyWriter::writeDrawing(const QString& relation, QSizeF size)
{
    const int id = ++m_context.drawings;
    const QString width = QString::number(qRound64(std::max(size.width(), 1.0) * s_emuPerPixel));
    const QString height = QString::number(qRound64(std::max(size.height(), 1.0) * s_emuPerPixel));
    m_xml.writeStartElement(QStringLiteral("w:r"));
    m_xml.writeStartElement(QStringLiteral("w:drawing"));
    m_xml.writeStartElement(QStringLiteral("wp:inline"));
    m_xml.writeEmptyElement(QStringLiteral("wp:extent"));
    m_xml.writeAttribute(QStringLiteral("cx"), width);
    m_xml.writeAttribute(QStringLiteral("cy"), height);
    m_xml.writeEmptyElement(QStringLiteral("wp:docPr"));
    m_xml.writeAttribute(QStringLiteral("id"), QString::number(id));
    m_xml.writeAttribute(QStringLiteral("name"), QStringLiteral("Picture %1").arg(id));
    m_xml.writeStartElement(QStringLiteral("a:graphic"));
    m_xml.writeStartElement(QStringLiteral("a:graphicData"));
    m_xml.writeAttribute(
        QStringLiteral("uri"),
        QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture"));
    m_xml.writeStartElement(QStringLiteral("pic:pic"));
    m_xml.writeStartElement(QStringLiteral("pic:nvPicPr"));
    m_xml.writeEmptyElement(QStringLiteral("pic:cNvPr"));
    m_xml.writeAttribute(QStringLiteral("id"), QString::number(id));
    m_xml.writeAttribute(QStringLiteral("name"), QStringLiteral("Picture %1").arg(id));
    m_xml.writeEmptyElement(QStringLiteral("pic:cNvPicPr"));
    m_xml.writeEndElement();
    m_xml.writeStartElement(QStringLiteral("pic:blipFill"));
    m_xml.writeEmptyElement(QStringLiteral("a:blip"));
    m_xml.writeAttribute(QStringLiteral("r:embed"), relation);
    m_xml.writeStartElement(QStringLiteral("a:stretch"));
    m_xml.writeEmptyElement(QStringLiteral("a:fillRect"));
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeStartElement(QStringLiteral("pic:spPr"));
    m_xml.writeStartElement(QStringLiteral("a:xfrm"));
    m_xml.writeEmptyElement(QStringLiteral("a:off"));
    m_xml.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
    m_xml.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
    m_xml.writeEmptyElement(QStringLiteral("a:ext"));
    m_xml.writeAttribute(QStringLiteral("cx"), width);
    m_xml.writeAttribute(QStringLiteral("cy"), height);
    m_xml.writeEndElement();
    m_xml.writeStartElement(QStringLiteral("a:prstGeom"));
    m_xml.writeAttribute(QStringLiteral("prst"), QStringLiteral("rect"));
    m_xml.writeEmptyElement(QStringLiteral("a:avLst"));
    // a:prstGeom, pic:spPr, pic:pic, a:graphicData, a:graphic, wp:inline, w:drawing, w:r.
    for (int element = 0; element < 8; ++element)
        m_xml.writeEndElement();
}

void DocxBodyWriter::openLink(const QString& link)
{
    m_link = link;
    if (link.isEmpty())
        return;
    m_xml.writeStartElement(QStringLiteral("w:hyperlink"));
    if (link.startsWith(u'#'))
        m_xml.writeAttribute(QStringLiteral("w:anchor"), link.sliced(1));
    else
        m_xml.writeAttribute(QStringLiteral("r:id"), m_relations.add(u"hyperlink", link, true));
}

void DocxBodyWriter::closeLink()
{
    if (!m_link.isEmpty())
        m_xml.writeEndElement();
    m_link.clear();
}

void DocxBodyWriter::writeTable(const QTextTable& table)
{
    const QList<int> widths = columnWidths(table);
    m_xml.writeStartElement(QStringLiteral("w:tbl"));
    writeTableProperties(table);
    m_xml.writeStartElement(QStringLiteral("w:tblGrid"));
    for (const int width : widths) {
        m_xml.writeEmptyElement(QStringLiteral("w:gridCol"));
        m_xml.writeAttribute(QStringLiteral("w:w"), QString::number(width));
    }
    m_xml.writeEndElement();
    for (int row = 0; row < table.rows(); ++row) {
        m_xml.writeStartElement(QStringLiteral("w:tr"));
        for (int column = 0; column < table.columns();) {
            const QTextTableCell cell = table.cellAt(row, column);
            writeCell(table, row, column, widths);
            column += std::max(1, cell.column() + cell.columnSpan() - column);
        }
        m_xml.writeEndElement();
    }
    m_xml.writeEndElement();
}

void DocxBodyWriter::writeTableProperties(const QTextTable& table)
{
    const QTextTableFormat format = table.format();
    m_xml.writeStartElement(QStringLiteral("w:tblPr"));
    m_xml.writeEmptyElement(QStringLiteral("w:tblW"));
    m_xml.writeAttribute(QStringLiteral("w:w"), QStringLiteral("0"));
    m_xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("auto"));
    if (format.leftMargin() > 0) {
        m_xml.writeEmptyElement(QStringLiteral("w:tblInd"));
        m_xml.writeAttribute(QStringLiteral("w:w"), twips(format.leftMargin()));
        m_xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("dxa"));
    }
    const int border = format.hasProperty(TextProperties::TableBorderTwips)
                           ? format.intProperty(TextProperties::TableBorderTwips)
                           : qRound(Twips::fromPixels(format.border()));
    if (border > 0 && format.borderStyle() != QTextFrameFormat::BorderStyle_None) {
        m_xml.writeStartElement(QStringLiteral("w:tblBorders"));
        for (const auto* side :
             {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"}) {
            m_xml.writeEmptyElement(QLatin1String(side));
            m_xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("single"));
            // Eighths of a point.
            m_xml.writeAttribute(QStringLiteral("w:sz"),
                                 QString::number(std::max(2, border * 2 / 5)));
            m_xml.writeAttribute(QStringLiteral("w:space"), QStringLiteral("0"));
            m_xml.writeAttribute(QStringLiteral("w:color"), QStringLiteral("auto"));
        }
        m_xml.writeEndElement();
    }
    m_xml.writeStartElement(QStringLiteral("w:tblCellMar"));
    for (const auto* side : {"w:left", "w:right"}) {
        m_xml.writeEmptyElement(QLatin1String(side));
        m_xml.writeAttribute(QStringLiteral("w:w"), twips(format.cellPadding()));
        m_xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("dxa"));
    }
    m_xml.writeEndElement();
    m_xml.writeEndElement();
}

// Each column's width in twips: as fixed or a share of the text's width, the rest sharing
// what is left.
QList<int> DocxBodyWriter::columnWidths(const QTextTable& table) const
{
    const QList<QTextLength> constraints = table.format().columnWidthConstraints();
    QList<int> widths(table.columns(), 0);
    int fixed = 0;
    int open = 0;
    for (int column = 0; column < table.columns(); ++column) {
        const QTextLength length = constraints.value(column);
        if (length.type() == QTextLength::FixedLength)
            widths[column] = qRound(Twips::fromPixels(length.rawValue()));
        else if (length.type() == QTextLength::PercentageLength)
            widths[column] = qRound(m_context.textWidth * length.rawValue() / 100);
        fixed += widths[column];
        open += widths[column] <= 0;
    }
    const int share = open > 0 ? std::max(360, (m_context.textWidth - fixed) / open) : 0;
    for (int& width : widths)
        width = width > 0 ? width : share;
    return widths;
}

// A cell merged into the one above is written again, empty, continuing that one.
void DocxBodyWriter::writeCell(const QTextTable& table, int row, int column,
                               const QList<int>& widths)
{
    const QTextTableCell cell = table.cellAt(row, column);
    const int span = std::max(1, cell.column() + cell.columnSpan() - column);
    int width = 0;
    for (int spanned = column; spanned < column + span && spanned < widths.size(); ++spanned)
        width += widths[spanned];
    m_xml.writeStartElement(QStringLiteral("w:tc"));
    m_xml.writeStartElement(QStringLiteral("w:tcPr"));
    m_xml.writeEmptyElement(QStringLiteral("w:tcW"));
    m_xml.writeAttribute(QStringLiteral("w:w"), QString::number(width));
    m_xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("dxa"));
    if (span > 1) {
        m_xml.writeEmptyElement(QStringLiteral("w:gridSpan"));
        m_xml.writeAttribute(QStringLiteral("w:val"), QString::number(span));
    }
    const bool covered = cell.row() != row;
    if (cell.rowSpan() > 1) {
        m_xml.writeEmptyElement(QStringLiteral("w:vMerge"));
        if (!covered)
            m_xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("restart"));
    }
    m_xml.writeEndElement();
    if (covered)
        m_xml.writeEmptyElement(QStringLiteral("w:p"));
    else
        writeFrame(cell.begin(), {});
    m_xml.writeEndElement();
}
