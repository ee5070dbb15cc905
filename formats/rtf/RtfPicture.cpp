#include "formats/rtf/RtfPicture.h"

#include "formats/base/Twips.h"
#include "formats/rtf/RtfCharacterPolicy.h"

#include <algorithm>

namespace {

// A sheet of paper a few metres wide is the largest picture worth laying out.
constexpr int s_maxTwips = 200000;
constexpr int s_maxPercent = 1000;

} // namespace

void RtfPicture::handleWord(RtfKeywordTable::Keyword keyword, int parameter)
{
    switch (keyword) {
    case RtfKeywordTable::Keyword::Png:
        m_kind = Kind::Png;
        break;
    case RtfKeywordTable::Keyword::Jpeg:
        m_kind = Kind::Jpeg;
        break;
    case RtfKeywordTable::Keyword::PictureWidthGoal:
        m_widthGoal = clampTwips(parameter);
        break;
    case RtfKeywordTable::Keyword::PictureHeightGoal:
        m_heightGoal = clampTwips(parameter);
        break;
    case RtfKeywordTable::Keyword::PictureScaleX:
        m_scaleX = clampPercent(parameter);
        break;
    case RtfKeywordTable::Keyword::PictureScaleY:
        m_scaleY = clampPercent(parameter);
        break;
    default:
        break;
    }
}

void RtfPicture::appendHex(std::string_view text)
{
    for (const char c : text) {
        const int value = RtfCharacterPolicy::hexValue(c);
        if (value < 0)
            continue;
        if (m_nibble < 0) {
            m_nibble = value;
        } else {
            m_data.append(char(m_nibble * 16 + value));
            m_nibble = -1;
        }
    }
}

QByteArray RtfPicture::image() const
{
    // Only the signature is checked: decoding waits until the picture is shown, so a hostile
    // picture costs nothing here and the bytes are written back exactly as they came.
    const bool png = m_kind == Kind::Png && m_data.startsWith("\x89PNG\r\n\x1a\n");
    const bool jpeg = m_kind == Kind::Jpeg && m_data.startsWith("\xff\xd8\xff");
    return png || jpeg ? m_data : QByteArray();
}

int RtfPicture::clampTwips(int twips)
{
    return std::clamp(twips, 0, s_maxTwips);
}

int RtfPicture::clampPercent(int percent)
{
    return std::clamp(percent, 1, s_maxPercent);
}

double RtfPicture::scaled(int twips, int percent)
{
    return Twips::toPixels(double(twips) * percent / 100.0);
}
