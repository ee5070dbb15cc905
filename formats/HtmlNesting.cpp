#include "formats/HtmlNesting.h"

#include <QStringList>

#include <vector>

namespace {

// A closing tag or a new paragraph looks this far down the open elements for its own kind:
// tags closed out of order are rarely further apart, and looking no further keeps the time in
// proportion to the length. One not found is left to Qt's reader to make sense of.
constexpr std::size_t s_reach = 8;

/// One tag as written: where it ends, its name in lower case, and how it opens or closes.
struct Tag
{
    qsizetype end = 0;
    QString name;
    bool closing = false;
    bool selfClosing = false;
};

struct Element
{
    QString name;
    bool kept = false;
};

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char(':');
}

// Elements that never hold others, so they add no level.
bool isVoid(QStringView name)
{
    static const QStringList names{"area",  "base", "br",   "col",   "embed",  "hr",    "img",
                                   "input", "link", "meta", "param", "source", "track", "wbr"};
    return names.contains(name);
}

// Their text is not HTML: tags inside them are text, until the element's own closing tag.
bool holdsRawText(QStringView name)
{
    return name == u"script" || name == u"style" || name == u"textarea" || name == u"title";
}

// Qt's reader does not nest a paragraph or a list item in one of its kind: the second closes
// the first.
bool closesItsKind(QStringView name)
{
    return name == u"p" || name == u"li";
}

/// The end of markup that starts at html[from] and is not an element's tag: a comment, a
/// declaration or a processing instruction; the end of html when it does not end.
qsizetype endOfOtherMarkup(QStringView html, qsizetype from)
{
    const bool comment = html.mid(from, 4) == u"<!--";
    const qsizetype close = comment ? html.indexOf(u"-->", from + 4) : html.indexOf(u'>', from);
    if (close < 0)
        return html.size();
    return close + (comment ? 3 : 1);
}

/// Where the text of a raw-text element named name, starting at html[from], ends: at its
/// closing tag, or at the end of html.
qsizetype endOfRawText(QStringView html, qsizetype from, const QString& name)
{
    const qsizetype close =
        html.indexOf(QString(QLatin1String("</") + name), from, Qt::CaseInsensitive);
    return close < 0 ? html.size() : close;
}

/// The element tag that starts at html[from], which holds '<'; a tag without a name when none
/// starts there. Quoted attribute values may hold '>'.
Tag readTag(QStringView html, qsizetype from)
{
    Tag tag;
    qsizetype at = from + 1;
    tag.closing = at < html.size() && html[at] == QLatin1Char('/');
    if (tag.closing)
        ++at;
    const qsizetype nameStart = at;
    if (at >= html.size() || !html[at].isLetter())
        return tag;
    while (at < html.size() && isNameChar(html[at]))
        ++at;
    tag.name = html.mid(nameStart, at - nameStart).toString().toLower();
    QChar quote;
    for (; at < html.size(); ++at) {
        const QChar c = html[at];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char('>')) {
            tag.selfClosing = html[at - 1] == QLatin1Char('/');
            tag.end = at + 1;
            return tag;
        }
    }
    tag.end = html.size();
    return tag;
}

/// The open elements, as far as they need following to know how deep the next one goes.
class OpenElements
{
public:
    explicit OpenElements(int maxDepth) : m_maxDepth(std::size_t(qMax(0, maxDepth))) {}

    /// Whether the tag stays in the HTML.
    bool take(const Tag& tag)
    {
        if (tag.closing)
            return close(tag.name);
        if (tag.selfClosing || isVoid(tag.name))
            return true;
        if (closesItsKind(tag.name))
            close(tag.name);
        const bool kept = m_open.size() < m_maxDepth;
        m_open.push_back({tag.name, kept});
        return kept;
    }

private:
    // A closing tag with no element of its own near goes to Qt's reader, unless elements have
    // been left out: it might be one of theirs.
    bool close(const QString& name)
    {
        const std::size_t lowest = m_open.size() > s_reach ? m_open.size() - s_reach : 0;
        for (std::size_t at = m_open.size(); at > lowest; --at)
            if (m_open[at - 1].name == name) {
                const bool kept = m_open[at - 1].kept;
                m_open.resize(at - 1);
                return kept;
            }
        return m_open.size() < m_maxDepth;
    }

    std::size_t m_maxDepth;
    std::vector<Element> m_open;
};

} // namespace

QString HtmlNesting::flattened(QStringView html, int maxDepth)
{
    QString out;
    out.reserve(html.size());
    OpenElements open(maxDepth);
    qsizetype at = 0;
    while (at < html.size()) {
        const qsizetype lt = html.indexOf(u'<', at);
        if (lt < 0) {
            out += html.mid(at);
            break;
        }
        out += html.mid(at, lt - at);
        const Tag tag = readTag(html, lt);
        if (tag.name.isEmpty()) {
            const bool markup = lt + 1 < html.size() && (html[lt + 1] == QLatin1Char('!') ||
                                                         html[lt + 1] == QLatin1Char('?'));
            at = markup ? endOfOtherMarkup(html, lt) : lt + 1;
            out += html.mid(lt, at - lt);
            continue;
        }
        if (open.take(tag))
            out += html.mid(lt, tag.end - lt);
        at = tag.end;
        if (!tag.closing && !tag.selfClosing && holdsRawText(tag.name)) {
            const qsizetype rawEnd = endOfRawText(html, at, tag.name);
            out += html.mid(at, rawEnd - at);
            at = rawEnd;
        }
    }
    return out;
}
