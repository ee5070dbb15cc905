#pragma once

#include "formats/rtf/RtfKeywordTable.h"

#include <QByteArray>

#include <string_view>

/// A \pict group as it is read: its kind, its requested size and its bytes from hex digits.
class RtfPicture
{
public:
    void reset() { *this = RtfPicture(); }
    /// \pngblip and \jpegblip name the picture's kind; \picwgoalN, \pichgoalN, \picscalexN and
    /// \picscaleyN its size.
    void handleWord(RtfKeywordTable::Keyword keyword, int parameter);
    /// Takes hex digits, skipping anything else; a final unpaired digit is dropped.
    void appendHex(std::string_view text);
    /// Takes raw bytes from \binN.
    void appendBinary(std::string_view bytes)
    {
        m_data.append(bytes.data(), qsizetype(bytes.size()));
    }
    /// The bytes when they are the PNG or JPEG they claim to be, otherwise empty.
    QByteArray image() const;
    /// Width and height in pixels from the goal sizes and scales; 0 when not given.
    double width() const { return scaled(m_widthGoal, m_scaleX); }
    double height() const { return scaled(m_heightGoal, m_scaleY); }

private:
    enum class Kind { Other, Png, Jpeg };

    static int clampTwips(int twips);
    static int clampPercent(int percent);
    static double scaled(int twips, int percent);

    Kind m_kind = Kind::Other;
    QByteArray m_data;
    int m_nibble = -1;
    int m_widthGoal = 0;
    int m_heightGoal = 0;
    int m_scaleX = 100;
    int m_scaleY = 100;
};
