#include "app/WindowGeometry.h"

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
    return QRect(int(std::lround(left / twipsPerPixel)), int(std::lround(top / twipsPerPixel)),
                 int(std::lround(width / twipsPerPixel)), int(std::lround(height / twipsPerPixel)));
}

WindowGeometry WindowGeometry::fromPixels(const QRect& outer)
{
    return {double(outer.x()) * twipsPerPixel, double(outer.y()) * twipsPerPixel,
            double(outer.width()) * twipsPerPixel, double(outer.height()) * twipsPerPixel};
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
