#pragma once

#include <QList>
#include <QRect>
#include <QString>

/// The main window's remembered outer geometry, in twips as the settings hold it.
struct WindowGeometry
{
    double left = 0;
    double top = 0;
    double width = 5000;
    double height = 5000;

    /// Reads the four stored texts; one that is missing or not a number keeps its default.
    static WindowGeometry fromSettings(const QString& left, const QString& top,
                                       const QString& width, const QString& height);
    /// The decimal text a value is stored as.
    static QString toSetting(double twips);

    QRect toPixels() const;
    static WindowGeometry fromPixels(const QRect& outer);

    /// This geometry with a width or height below the minimum (in twips) back at its default,
    /// so a stored value cannot make the window too small to use.
    WindowGeometry usable(double minimumWidth, double minimumHeight) const;

    /// Moves a window whose title bar would not be on any screen onto the primary one, and
    /// makes one larger than the screen that shows it fit on that screen.
    static QRect ontoScreens(const QRect& outer, const QList<QRect>& screens, const QRect& primary);

    /// The outer geometry a window given wanted before its frame was known should take once it
    /// is framed (frame and client as they stand then): the wanted size while its inner size is
    /// still setInner, the wanted place while its client area stands there instead; what the
    /// writer has moved or resized meanwhile stays as it is.
    static QRect settled(const QRect& wanted, const QSize& setInner, const QRect& frame,
                         const QRect& client);
};
