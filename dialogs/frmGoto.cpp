#include "dialogs/frmGoto.h"

#include "dialogs/GotoLine.h"
#include "dialogs/LeadingNumber.h"
#include "formats/base/Twips.h"
#include "platform/MessageService.h"
#include "platform/RichTextBox.h"

#include <QLineEdit>
#include <QPushButton>

frmGoto::frmGoto(QWidget& owner, RichTextBox& editor, MessageService& messages)
    : EditorDialog(owner, editor, QSize(3540, 1050)), m_messages(messages)
{
    setObjectName(QStringLiteral("frmGoto"));
    setWindowTitle(QStringLiteral("Goto Line"));

    m_txtGoto = new QLineEdit(this);
    m_txtGoto->setObjectName(QStringLiteral("txtGoto"));
    m_txtGoto->setGeometry(Twips::toPixels(45, 150, 1470, 330));
    m_txtGoto->setAccessibleName(tr("Line number"));

    m_cmdGotook =
        addButton("cmdGotook", QStringLiteral("OK"), Twips::toPixels(2280, 120, 1215, 375));
    m_cmdGotocancel =
        addButton("cmdGotocancel", QStringLiteral("Cancel"), Twips::toPixels(2280, 600, 1215, 375));

    setTabOrder(m_cmdGotook, m_cmdGotocancel);
    setTabOrder(m_cmdGotocancel, m_txtGoto);
    m_cmdGotook->setFocus();

    connect(m_cmdGotook, &QPushButton::clicked, this, &frmGoto::cmdGotook_Click);
    connect(m_cmdGotocancel, &QPushButton::clicked, this, &frmGoto::cmdGotocancel_Click);
}

void frmGoto::cmdGotook_Click()
{
    const double value = LeadingNumber::parse(m_txtGoto->text());
    if (value == 0) {
        invalidLineNumber();
        return;
    }
    returnToEditor();
    // The control maps a line to its first position directly, so any length of document is quick.
    const std::optional<qint64> line = GotoLine::lineIndex(value);
    const qint64 position = line ? m_editor.positionOfLine(*line) : -1;
    if (position >= 0)
        m_editor.setSelStart(position);
    else
        invalidLineNumber();
    m_txtGoto->clear();
}

void frmGoto::cmdGotocancel_Click()
{
    returnToEditor();
}

void frmGoto::Form_Unload()
{
    returnToEditor();
}

void frmGoto::invalidLineNumber()
{
    m_messages.MsgBox(QStringLiteral("Invalid line number."), MessageService::Icon::Warning,
                      QStringLiteral("Goto line"));
}
