#pragma once

#include "formats/PageSetup.h"
#include "formats/base/PageFurniture.h"

#include <QImage>
#include <QList>
#include <QSizeF>

class QTextBlock;

#include <array>
#include <map>
#include <memory>

class QTextDocument;

/// A document made ready for paper: a copy of its body laid out in one long column at the text's
/// width, its footnotes taken out, its headers and footers read, and the pages the column breaks
/// into. A page breaks between lines, and between table rows, where its text and the footnotes
/// whose marks it holds no longer fit, or where a paragraph asks for a new page. Lengths are in
/// layout pixels, which the printer scales to its own.
class PrintedPages
{
public:
    /// Whether block starts a new page: it asks to, or the paragraph before it asks for one
    /// after. The editor's page-break line and the printer go by this one rule.
    static bool startsPage(const QTextBlock& block);

    struct Page
    {
        /// Where the page's share of the column starts and ends.
        qreal top = 0;
        qreal bottom = 0;
        /// The footnotes printed at its foot, by number.
        QList<int> notes;
        /// The number of the paragraph the page starts inside, after its first line; -1 when
        /// the page starts with a paragraph.
        int continuedBlock = -1;
    };

    /// The space between the text and the footnotes, where the separator line goes.
    static constexpr qreal noteGap = 16;

    explicit PrintedPages(const QTextDocument& document);
    ~PrintedPages();

    const PageSetup& setup() const { return m_setup; }
    const PageFurniture& furniture() const { return m_furniture; }
    QSizeF paperSize() const;
    QSizeF textSize() const;
    const QList<Page>& pages() const { return m_pages; }
    const QTextDocument& body() const { return *m_body; }
    const QTextDocument& note(int number) const { return *m_notes.at(number); }
    /// The height the footnotes of page take, the gap above them included.
    qreal notesHeight(const Page& page) const;
    /// The header, or footer, of page number page with its page numbers filled in; none when
    /// the page has none.
    std::unique_ptr<QTextDocument> story(bool header, int page) const;
    /// Whether a header or footer shows the page number.
    bool numbersPages() const { return m_numbersPages; }

private:
    /// A device whose pixels are the layout's, so fonts and lengths given in pixels keep their
    /// proportions on paper whatever the screen's resolution.
    class LayoutDevice : public QImage
    {
    public:
        LayoutDevice();
    };

    std::unique_ptr<QTextDocument> laidOut(std::unique_ptr<QTextDocument> document);
    void takeOutFootnotes();
    void paginate();

    mutable LayoutDevice m_device;
    PageSetup m_setup;
    PageFurniture m_furniture;
    std::unique_ptr<QTextDocument> m_body;
    std::map<int, std::unique_ptr<QTextDocument>> m_notes;
    std::array<std::unique_ptr<QTextDocument>, PageFurniture::StoryCount> m_stories;
    QList<Page> m_pages;
    bool m_numbersPages = false;
};
