#pragma once

#include "formats/rtf/RtfBuildStream.h"
#include "formats/rtf/RtfCharState.h"
#include "formats/rtf/RtfColorTable.h"
#include "formats/rtf/RtfFontTable.h"
#include "formats/rtf/RtfLinkTable.h"

#include <QHash>
#include <QTextCharFormat>

/// Names each character formatting by the id of its format in the build stream, adding the
/// format there the first time the formatting is used.
class RtfFormatIds
{
public:
    /// The tables say what the fonts, colours and links of a formatting are.
    RtfFormatIds(RtfBuildStream& stream, const RtfFontTable& fonts, const RtfColorTable& colors,
                 const RtfLinkTable& links);

    /// The id of chars' format, added to the stream when new; hidden text is formatted as if it
    /// were not.
    int id(RtfCharState chars);
    /// id() of chars, the formatting in force, which stays known until forgetCurrent().
    int current(const RtfCharState& chars)
    {
        if (m_current < 0)
            m_current = id(chars);
        return m_current;
    }
    /// The formatting in force may have changed.
    void forgetCurrent() { m_current = -1; }
    /// The tables changed, so a formatting may need a format other than the one it has.
    void tablesChanged()
    {
        m_ids.clear();
        m_lastId = -1;
        m_current = -1;
    }

private:
    QTextCharFormat formatFor(const RtfCharState& chars) const;

    RtfBuildStream& m_stream;
    const RtfFontTable& m_fonts;
    const RtfColorTable& m_colors;
    const RtfLinkTable& m_links;
    QHash<RtfCharState, int> m_ids;
    /// The formatting id() was last asked for, which is mostly the one it is asked for next.
    RtfCharState m_lastChars;
    int m_lastId = -1;
    /// The id of the formatting in force, or -1 once it may have changed.
    int m_current = -1;
};
