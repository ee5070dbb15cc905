#pragma once

#include <QByteArray>

#include <string_view>

/// A \pict group as it is read: its kind, its requested size and its bytes from hex digits.
class RtfPicture
{
public:
    enum class Kind { Other, Png, Jpeg };

    void reset() { *this = RtfPicture(); }
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

    Kind kind = Kind::Other;
    void setWidthGoal(int twips) { m_widthGoal = clampTwips(twips); }
    void setHeightGoal(int twips) { m_heightGoal = clampTwips(twips); }
    void setScaleX(int percent) { m_scaleX = clampPercent(percent); }
    void setScaleY(int percent) { m_scaleY = clampPercent(percent); }

private:
    static int clampTwips(int twips);
    static int clampPercent(int percent);
    static double scaled(int twips, int percent);

    QByteArray m_data;
    int m_nibble = -1;
    int m_widthGoal = 0;
    int m_heightGoal = 0;
    int m_scaleX = 100;
    int m_scaleY = 100;
};
