#include "app/WindowGeometry.h"

#include "platform/Twips.h"

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

QRect WindowGeometry::ontoScreens(const QRect& outer, const QList<QRect>& screens,
                                  const QRect& primary)
{
    for (const QRect& screen : screens)
        if (screen.intersects(outer))
            return outer;
    QRect moved = outer;
    moved.setSize(outer.size().boundedTo(primary.size()));
    moved.moveTopLeft(primary.topLeft());
    return moved;
}
