#include "formats/ParagraphDirection.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

namespace {

void setDirection(QTextDocument& document, Qt::LayoutDirection direction)
{
    QTextOption option = document.defaultTextOption();
    option.setTextDirection(direction);
    document.setDefaultTextOption(option);
}

} // namespace

void ParagraphDirection::follow(QTextDocument& document)
{
    auto* direction =
        document.findChild<ParagraphDirection*>(QString(), Qt::FindDirectChildrenOnly);
    if (!direction)
        direction = new ParagraphDirection(document);
    if (direction->m_fixed)
        direction->look(document.toRawText());
}

bool ParagraphDirection::hasRightToLeft(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        // Hebrew is the first script written right to left; from Devanagari to Hebrew's
        // presentation forms, only the marks that set a direction are.
        if (c < 0x0590 || (c >= 0x0900 && c < 0x200f) || (c > 0x2067 && c < 0xfb1d))
            continue;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
        switch (QChar::direction(c)) {
        case QChar::DirR:
        case QChar::DirAL:
        case QChar::DirRLE:
        case QChar::DirRLO:
        case QChar::DirRLI:
            return true;
        default:
            break;
        }
    }
    return false;
}

ParagraphDirection::ParagraphDirection(QTextDocument& document)
    : QObject(&document), m_document(document)
{
    setDirection(m_document, Qt::LeftToRight);
    connect(&document, &QTextDocument::contentsChange, this, &ParagraphDirection::noteChange);
}

void ParagraphDirection::noteChange(int position, int /*removed*/, int added)
{
    if (!m_fixed || added <= 0)
        return;
    QTextCursor inserted(&m_document);
    inserted.setPosition(position);
    inserted.setPosition(qMin(position + added, m_document.characterCount() - 1),
                         QTextCursor::KeepAnchor);
    look(inserted.selectedText());
}

void ParagraphDirection::look(QStringView text)
{
    if (!hasRightToLeft(text))
        return;
    m_fixed = false;
    setDirection(m_document, Qt::LayoutDirectionAuto);
}
