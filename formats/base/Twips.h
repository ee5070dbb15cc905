#pragma once

#include <QRect>

/// Twips, 1/1440 inch: the unit of window geometry, dialog designs and RTF lengths.
/// A pixel of the layout is 1/96 inch, 15 twips, on the screen and on paper alike.
class Twips
{
public:
    static constexpr double perPixel = 15.0;
    static constexpr double pixelsPerInch = 1440.0 / perPixel;

    static constexpr double toPixels(double twips) { return twips / perPixel; }
    static constexpr double fromPixels(double pixels) { return pixels * perPixel; }

    /// A design rectangle given in twips, each value cut to whole pixels.
    static constexpr QRect toPixels(int left, int top, int width, int height)
    {
        return QRect(int(toPixels(left)), int(toPixels(top)), int(toPixels(width)),
                     int(toPixels(height)));
    }
};
