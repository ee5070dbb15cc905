#include "formats/odt/OdtXml.h"

#include <array>
#include <cmath>

namespace {

struct Unit
{
    QStringView name;
    double twips;
};

constexpr std::array<Unit, 6> s_units = {{{u"in", 1440.0},
                                          {u"cm", 1440.0 / 2.54},
                                          {u"mm", 144.0 / 2.54},
                                          {u"pt", 20.0},
                                          {u"pc", 240.0},
                                          {u"px", 15.0}}};

} // namespace

std::optional<double> OdtXml::twips(QStringView length)
{
    length = length.trimmed();
    for (const Unit& unit : s_units) {
        if (!length.endsWith(unit.name))
            continue;
        bool ok = false;
        const double value = length.chopped(unit.name.size()).toDouble(&ok);
        if (!ok || !std::isfinite(value))
            return std::nullopt;
        return value * unit.twips;
    }
    return std::nullopt;
}

QString OdtXml::length(double twips)
{
    QString points = QString::number(twips / 20.0, 'f', 4);
    while (points.endsWith(u'0'))
        points.chop(1);
    if (points.endsWith(u'.'))
        points.chop(1);
    return points + QStringLiteral("pt");
}
