#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

/// The targets of a document's HYPERLINK fields, numbered from 1 as RtfCharState::link counts
/// them, each target once.
class RtfLinkTable
{
public:
    /// At \field: its instruction starts empty.
    void startField() { m_instruction.clear(); }
    /// Takes decoded text of the field's \fldinst.
    void appendInstruction(QStringView text);
    /// At \fldrslt: the number of the link the instruction names, or 0 when it names none.
    int startResult();
    /// Whether the field whose result started last is the page number.
    bool resultIsPageNumber() const { return m_pageNumber; }
    /// The target of link number link, counted from 1.
    const QString& target(int link) const { return m_targets.at(link - 1); }

private:
    QString m_instruction;
    bool m_pageNumber = false;
    QStringList m_targets;
    QHash<QString, int> m_numbers;
};
