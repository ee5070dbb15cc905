#include "app/WindowGeometry.h"

#include "formats/base/Twips.h"

#include <algorithm>
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
    // A stored value may be any number a hand or a damaged file put there; beyond this no screen
    // reaches, and the pixels must fit in an int.
    static constexpr double farthest = 1 << 20;
    const auto px = [](double twips) {
        return int(std::lround(std::clamp(Twips::toPixels(twips), -farthest, farthest)));
    };
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
            return QRect(outer.topLeft(), outer.size().boundedTo(screen.size()));
    }
    QRect moved = outer;
    moved.setSize(outer.size().boundedTo(primary.size()));
    moved.moveTopLeft(primary.topLeft());
    return moved;
}

QRect WindowGeometry::settled(const QRect& wanted, const QSize& setInner, const QRect& frame,
                              const QRect& client)
{
    const QSize size = client.size() == setInner ? wanted.size() : frame.size();
    // Placed without its frame, the client area stands where the frame should.
    const bool placedWithoutFrame =
        client.topLeft() == wanted.topLeft() && frame.topLeft() != wanted.topLeft();
    return QRect(placedWithoutFrame ? wanted.topLeft() : frame.topLeft(), size);
}
