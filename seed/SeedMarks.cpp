#include "seed/SeedMarks.h"

#include "formats/base/TextProperties.h"
#include "platform/RichTextBox.h"

#include <QAction>

namespace {

// Drawn over the glyphs: faint enough that black or white text reads through it.
constexpr int tintAlpha = 44;

} // namespace

SeedMarks::SeedMarks(RichTextBox& editor, QAction& mnuShowSeedText, QObject* parent)
    : QObject(parent), m_editor(editor), m_mnuShowSeedText(mnuShowSeedText)
{
    m_editor.setUninheritedProperties({TextProperties::SeedRun, TextProperties::SeedRunLength});
    setShown(true);
}

bool SeedMarks::isShown() const
{
    return m_mnuShowSeedText.isChecked();
}

void SeedMarks::setShown(bool shown)
{
    m_mnuShowSeedText.setChecked(shown);
    QColor tint = m_editor.palette().color(QPalette::Highlight);
    tint.setAlpha(tintAlpha);
    m_editor.setPropertyTint(TextProperties::SeedRun, shown ? tint : QColor());
}

void SeedMarks::mnuShowSeedText_Click()
{
    setShown(!isShown());
}
