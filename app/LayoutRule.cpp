#include "app/LayoutRule.h"

#include <algorithm>

LayoutRule LayoutRule::compute(double outerWidth, double outerHeight, double toolbarHeight,
                               double listHeight, double frameWidth, double frameHeight)
{
    LayoutRule r;
    r.listWidth = std::max(0.0, outerWidth - frameWidth);
    r.editorWidth = r.listWidth;
    if (outerHeight <= minimumHeight)
        return r;
    r.editorHeight = std::max(0.0, outerHeight - listHeight - toolbarHeight - frameHeight);
    r.listTop = toolbarHeight + *r.editorHeight;
    return r;
}

int LayoutRule::fullScreenColumn(int textEm, int twelvePointEm, int room)
{
    // Lines of about forty ems read comfortably; wider ones tire the eye.
    constexpr int columnEms = 40;
    constexpr int marginEms = 2;
    const int widest = std::max(0, room - 2 * marginEms * twelvePointEm);
    return std::min(columnEms * std::max(textEm, twelvePointEm), widest);
}
