#include "app/WindowGeometry.h"

#include "formats/base/Twips.h"

#include <cmath>

namespace {

double twipsOr(const QString& text, double fallback)
{
    bool ok = false;
    const float value = text.trimmed().toFloat(&ok);
    return ok && std::isfinite(value) ? double(value) : fallback;
}

} // namespace

WindowGeometry WindowGeometry::fromSettings(const QString& left, const QString& top,
                                            const QString& width, const QString& height)
{
    WindowGeometry g;
    g.left = twipsOr(left, g.left);
    g.top = twipsOr(top, g.top);
    g.width = twipsOr(width, g.width);
    g.height = twipsOr(height, g.height);
    return g;
}

QString WindowGeometry::toSetting(double twips)
{
    return QString::number(float(twips));
}

QRect WindowGeometry::toPixels() const
{
    const auto px = [](double twips) { return int(std::lround(Twips::toPixels(twips))); };
    return QRect(px(left), px(top), px(width), px(height));
}

WindowGeometry WindowGeometry::fromPixels(const QRect& outer)
{
    return {Twips::fromPixels(outer.x()), Twips::fromPixels(outer.y()),
            Twips::fromPixels(outer.width()), Twips::fromPixels(outer.height())};
}

WindowGeometry WindowGeometry::usable(double minimumWidth, double minimumHeight) const
{
    WindowGeometry g = *this;
    if (!(g.width >= minimumWidth))
        g.width = WindowGeometry().width;
    if (!(g.height >= minimumHeight))
        g.height = WindowGeometry().height;
    return g;
}

QRect WindowGeometry::ontoScreens(const QRect& outer, const QList<QRect>& screens,
                                  const QRect& primary)
{
    // The whole height of the title bar and enough of its width to take hold of it.
    constexpr int titleBarHeight = 24;
    constexpr int grip = 40;
    const QRect titleBar(outer.topLeft(), QSize(outer.width(), titleBarHeight));
    for (const QRect& screen : screens) {
        const QRect shown = screen.intersected(titleBar);
        if (shown.height() == titleBarHeight && shown.width() >= qMin(grip, outer.width()))
            return outer;
    }
    QRect moved = outer;
    moved.setSize(outer.size().boundedTo(primary.size()));
    moved.moveTopLeft(primary.topLeft());
    return moved;
}
