#include "formats/PageSetup.h"

#include <QLocale>
#include <QTextDocument>
#include <QTextFrame>

#include <array>

namespace {

// Properties of the root frame's format; user properties, which Qt keeps but never draws.
enum Property {
    PaperWidth = QTextFormat::UserProperty + 0x5000,
    PaperHeight,
    MarginLeft,
    MarginRight,
    MarginTop,
    MarginBottom,
    Landscape,
};

constexpr qreal twipsPerPoint = 20;

std::array<int PageSetup::*, 6> lengths()
{
    return {&PageSetup::paperWidth,  &PageSetup::paperHeight, &PageSetup::marginLeft,
            &PageSetup::marginRight, &PageSetup::marginTop,   &PageSetup::marginBottom};
}

} // namespace

PageSetup PageSetup::forLocale(const QLocale& locale)
{
    constexpr int inch = 1440;
    PageSetup setup;
    if (locale.measurementSystem() != QLocale::ImperialUSSystem) {
        constexpr qreal twipsPerMillimetre = inch / 25.4;
        const QSizeF a4 =
            QPageSize::size(QPageSize::A4, QPageSize::Millimeter) * twipsPerMillimetre;
        setup.paperWidth = qRound(a4.width());
        setup.paperHeight = qRound(a4.height());
    }
    setup.marginLeft = setup.marginRight = setup.marginTop = setup.marginBottom = inch;
    return setup;
}

bool PageSetup::isKeptIn(const QTextDocument& document)
{
    return document.rootFrame()->frameFormat().hasProperty(PaperWidth);
}

PageSetup PageSetup::of(const QTextDocument& document)
{
    if (!isKeptIn(document))
        return forLocale(QLocale::system());
    const QTextFrameFormat format = document.rootFrame()->frameFormat();
    PageSetup setup;
    int property = PaperWidth;
    for (int PageSetup::*length : lengths())
        setup.*length = format.intProperty(property++);
    setup.landscape = format.boolProperty(Landscape);
    return setup;
}

void PageSetup::keepIn(QTextDocument& document) const
{
    QTextFrameFormat format = document.rootFrame()->frameFormat();
    int property = PaperWidth;
    for (int PageSetup::*length : lengths())
        format.setProperty(property++, this->*length);
    format.setProperty(Landscape, landscape);
    document.rootFrame()->setFrameFormat(format);
}

QPageLayout PageSetup::pageLayout() const
{
    // RTF gives the paper as it lies, already turned for landscape; QPageLayout wants it upright.
    QSizeF paper(paperWidth / twipsPerPoint, paperHeight / twipsPerPoint);
    if (landscape)
        paper.transpose();
    const QMarginsF margins(marginLeft / twipsPerPoint, marginTop / twipsPerPoint,
                            marginRight / twipsPerPoint, marginBottom / twipsPerPoint);
    return QPageLayout(QPageSize(paper, QPageSize::Point),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, margins,
                       QPageLayout::Point);
}
