#pragma once

#include "formats/rtf/BuiltInCodePages.h"
#include "formats/rtf/RtfCharState.h"
#include "formats/rtf/RtfKeywordTable.h"

#include <QFont>
#include <QHash>
#include <QString>

/// The \fonttbl entries and the \deff font: which family and code page a font number means.
class RtfFontTable
{
public:
    /// Tables add to each other, so a second \fonttbl keeps the fonts of the first.
    void startTable() { m_entryOpen = false; }
    /// \fN opens an entry, ending the one before; \fcharsetN and \cpgN set its code page.
    void handleWord(RtfKeywordTable::Keyword keyword, int parameter);
    /// Takes decoded text of the open entry's name.
    void appendName(QStringView text) { m_entry.family.append(text); }
    /// Stores the open entry, if any, once its whole name has come through appendName().
    void commitEntry();
    bool isEntryOpen() const { return m_entryOpen; }
    /// The code page the entry being read writes its name in; 0 for the document's. A symbol
    /// font still names itself in letters.
    int entryCodePage() const
    {
        return m_entry.codePage == BuiltInCodePages::Symbol ? 0 : m_entry.codePage;
    }

    void setDefaultFont(int font) { m_defaultFont = font; }
    /// The family of a run in font; empty when it keeps the document's own default font.
    QString familyFor(int font) const;
    /// The code page of text in font; 0 for the document's.
    int codePageFor(int font) const;
    /// The kind of face font's family names, which stands in for it where it is not installed.
    QFont::StyleHint styleHintFor(int font) const;

private:
    struct Entry
    {
        QString family;
        int codePage = 0;
        QFont::StyleHint hint = QFont::AnyStyle;
    };

    QHash<int, Entry> m_fonts;
    Entry m_entry;
    int m_number = 0;
    bool m_entryOpen = false;
    int m_defaultFont = RtfCharState::DefaultFont;
};
