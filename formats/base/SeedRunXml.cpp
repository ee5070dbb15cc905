#include "formats/base/SeedRunXml.h"

#include "formats/base/TextProperties.h"
#include "formats/base/XmlWriter.h"

#include "formats/base/XmlReader.h"

#include <array>

namespace {

struct Attribute
{
    const char* name;
    int property;
};

// The run first: the others mean nothing without it.
constexpr std::array<Attribute, 4> s_attributes = {{{"run", TextProperties::SeedRun},
                                                    {"length", TextProperties::SeedRunLength},
                                                    {"words", TextProperties::SeedRunWords},
                                                    {"breaks", TextProperties::SeedRunBreaks}}};

} // namespace

const QString SeedRunXml::namespaceUri = QStringLiteral("urn:quillmere:xmlns:seed:1.0");
const QString SeedRunXml::prefix = QStringLiteral("qm");

void SeedRunXml::write(XmlWriter& xml, const QTextCharFormat& format)
{
    for (const Attribute& attribute : s_attributes) {
        const qint64 value = format.property(attribute.property).toLongLong();
        if (value > 0)
            xml.writeAttribute(prefix + u':' + QLatin1String(attribute.name),
                               QString::number(value));
    }
}

bool SeedRunXml::read(const XmlAttributes& attributes, QTextCharFormat& format)
{
    std::array<qint64, s_attributes.size()> values{};
    for (size_t at = 0; at < s_attributes.size(); ++at) {
        const QLatin1String name(s_attributes[at].name);
        QStringView value = attributes.value(namespaceUri, name);
        if (value.isEmpty())
            value = attributes.value(prefix + u':' + name);
        values[at] = qMax<qint64>(0, value.toLongLong());
    }
    if (values[0] <= 0)
        return false;
    const auto [run, added] = m_runs.try_emplace(values[0], 0);
    if (added)
        run->second = TextProperties::newSeedRun();
    format.setProperty(TextProperties::SeedRun, run->second);
    for (size_t at = 1; at < s_attributes.size(); ++at) {
        if (values[at] > 0)
            format.setProperty(s_attributes[at].property, values[at]);
        else
            format.clearProperty(s_attributes[at].property);
    }
    // Words known, breaks known: none when none are named.
    if (values[2] > 0)
        format.setProperty(TextProperties::SeedRunBreaks, values[3]);
    return true;
}
