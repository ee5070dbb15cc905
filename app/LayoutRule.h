#pragma once

#include <optional>

/// Sizes the main window gives its controls, in twips, from the window's outer size.
struct LayoutRule
{
    /// The frame around the client area: borders across, title bar, menu bar and borders down.
    static constexpr double defaultFrameWidth = 90;
    static constexpr double defaultFrameHeight = 670;
    /// At or below this outer height only the widths are laid out (a minimised window).
    static constexpr double minimumHeight = 1400;

    double listWidth = 0;
    double editorWidth = 0;
    std::optional<double> editorHeight;
    std::optional<double> listTop;

    /// The toolbar stays on top, the editor fills the space under it and the list sits
    /// directly below the editor at the bottom. Nothing comes out negative.
    /// The width in pixels of the text column in full screen, where room pixels are free across:
    /// about forty ems of the text, but ems never smaller than those of 12 pt text (twelvePointEm
    /// pixels), so small type still fills a comfortable column; and never wider than the room
    /// less a margin of two 12 pt ems each side.
    static int fullScreenColumn(int textEm, int twelvePointEm, int room);

    static LayoutRule compute(double outerWidth, double outerHeight, double toolbarHeight,
                              double listHeight, double frameWidth = defaultFrameWidth,
                              double frameHeight = defaultFrameHeight);
};
