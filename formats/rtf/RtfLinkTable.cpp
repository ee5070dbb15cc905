#include "formats/rtf/RtfLinkTable.h"

#include <utility>

namespace {

// A field instruction is a keyword and a target; anything longer is not a link worth keeping.
constexpr qsizetype s_maxInstruction = 4096;

// The target of a HYPERLINK field instruction, or empty for any other field.
QString hyperlinkTarget(QString instruction)
{
    instruction = instruction.simplified();
    if (!instruction.startsWith(QLatin1String("HYPERLINK "), Qt::CaseInsensitive))
        return QString();
    QStringView rest = QStringView(instruction).sliced(10);
    QString prefix;
    if (rest.startsWith(QLatin1String("\\l ")) || rest.startsWith(QLatin1String("\\l\""))) {
        prefix = QStringLiteral("#");
        rest = rest.sliced(2).trimmed();
    }
    if (rest.startsWith(u'"')) {
        rest = rest.sliced(1);
        return prefix + rest.left(rest.indexOf(u'"')).toString();
    }
    return prefix + rest.left(rest.indexOf(u' ')).toString();
}

} // namespace

void RtfLinkTable::appendInstruction(QStringView text)
{
    m_instruction.append(text.left(s_maxInstruction - m_instruction.size()));
}

int RtfLinkTable::startResult()
{
    const QString instruction = std::exchange(m_instruction, QString());
    m_pageNumber = instruction.simplified()
                       .section(u' ', 0, 0)
                       .compare(QLatin1String("PAGE"), Qt::CaseInsensitive) == 0;
    const QString target = hyperlinkTarget(instruction);
    if (target.isEmpty())
        return 0;
    auto found = m_numbers.constFind(target);
    if (found == m_numbers.constEnd()) {
        m_targets.append(target);
        found = m_numbers.insert(target, int(m_targets.size()));
    }
    return found.value();
}
