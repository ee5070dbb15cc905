#include "dialogs/frmFind.h"

#include "formats/base/Twips.h"
#include "platform/MessageService.h"
#include "platform/RichTextBox.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLabel* addLabel(QWidget* parent, const char* name, const QString& caption, const QRect& at)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(at);
    EditorDialog::fitCaption(label);
    return label;
}

QLineEdit* addTextBox(QWidget* parent, const char* name, const QRect& at, QLabel* label)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(at);
    label->setBuddy(box);
    box->setAccessibleName(label->text());
    return box;
}

} // namespace

frmFind::frmFind(QWidget& owner, RichTextBox& editor, MessageService& messages)
    : EditorDialog(owner, editor, QSize(3840, 2310)), m_messages(messages)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Find"));

    m_lblFindwhat = addLabel(this, "lblFindwhat", QStringLiteral("Find what:"),
                             Twips::toPixels(30, 210, 825, 255));
    m_txtFind = addTextBox(this, "txtFind", Twips::toPixels(1200, 165, 2550, 300), m_lblFindwhat);
    m_lblReplace = addLabel(this, "lblReplace", QStringLiteral("Replace with:"),
                            Twips::toPixels(60, 615, 990, 225));
    m_txtReplace =
        addTextBox(this, "txtReplace", Twips::toPixels(1185, 570, 2580, 300), m_lblReplace);
    m_cmdReplace =
        addButton("cmdReplace", QStringLiteral("Replace"), Twips::toPixels(45, 1020, 1215, 375));
    m_cmdFindnext = addButton("cmdFindnext", QStringLiteral("Find Next"),
                              Twips::toPixels(1305, 1020, 1215, 375));
    m_cmdFindcancel = addButton("cmdFindcancel", QStringLiteral("Cancel"),
                                Twips::toPixels(2565, 1020, 1215, 375));

    m_fraFindoptions = new QGroupBox(QStringLiteral("Find Options"), this);
    m_fraFindoptions->setObjectName(QStringLiteral("fraFindoptions"));
    m_fraFindoptions->setGeometry(Twips::toPixels(30, 1455, 3765, 810));
    addOption(RichTextBox::rtfWholeWord, QStringLiteral("Whole word"),
              Twips::toPixels(120, 240, 1335, 315));
    addOption(RichTextBox::rtfMatchCase, QStringLiteral("Match Case"),
              Twips::toPixels(1890, 120, 1290, 555));

    setReplaceMode(false);
    m_cmdFindnext->setEnabled(false);

    setTabOrder(m_cmdFindnext, m_cmdFindcancel);
    setTabOrder(m_cmdFindcancel, m_txtFind);
    setTabOrder(m_txtFind, chkboxes(RichTextBox::rtfMatchCase));
    setTabOrder(chkboxes(RichTextBox::rtfMatchCase), chkboxes(RichTextBox::rtfWholeWord));
    setTabOrder(chkboxes(RichTextBox::rtfWholeWord), m_txtReplace);
    setTabOrder(m_txtReplace, m_cmdReplace);
    // Find Next starts disabled, so the first control that can take the focus is Cancel.
    m_cmdFindcancel->setFocus();

    connect(m_txtFind, &QLineEdit::textChanged, this, &frmFind::txtFind_Change);
    connect(m_cmdFindnext, &QPushButton::clicked, this, &frmFind::cmdFindnext_Click);
    connect(m_cmdReplace, &QPushButton::clicked, this, &frmFind::cmdReplace_Click);
    connect(m_cmdFindcancel, &QPushButton::clicked, this, &frmFind::cmdFindcancel_Click);
    Form_Load();
}

void frmFind::addOption(int index, const QString& caption, const QRect& at)
{
    auto* box = new QCheckBox(caption, m_fraFindoptions);
    box->setObjectName(QStringLiteral("chkboxes"));
    box->setProperty("Index", index);
    box->setGeometry(at);
    fitCaption(box);
    m_chkboxes[index] = box;
}

void frmFind::Form_Load()
{
    m_searchfromtop = true;
}

void frmFind::setReplaceMode(bool on)
{
    m_txtReplace->setVisible(on);
    m_cmdReplace->setVisible(on);
    m_lblReplace->setVisible(on);
    setWindowTitle(on ? QStringLiteral("Find and Replace") : QStringLiteral("Find"));
}

void frmFind::txtFind_Change()
{
    const bool searchable = !m_txtFind->text().isEmpty();
    m_cmdFindnext->setEnabled(searchable);
    m_cmdReplace->setEnabled(searchable);
}

// Each member's index is the option value it stands for, so the checked indexes add up.
int frmFind::options() const
{
    int sum = 0;
    for (const auto& [index, box] : m_chkboxes)
        if (box->isChecked())
            sum += index;
    return sum;
}

bool frmFind::search(qint64 start)
{
    const QString text = m_txtFind->text();
    if (m_editor.Find(text, start, m_editor.Text().size(), options()) != -1)
        return true;
    m_messages.MsgBox(QStringLiteral("Cannot find '") + text + QLatin1Char('\''),
                      MessageService::Icon::Information, QStringLiteral("Quillmere v1.0"));
    return false;
}

void frmFind::searchOnward()
{
    if (!search(m_editor.SelStart() + m_editor.SelLength()))
        m_searchfromtop = true;
}

void frmFind::cmdFindnext_Click()
{
    if (m_searchfromtop)
        m_searchfromtop = !search(0);
    else
        searchOnward();
}

// The first click only finds; each later one overwrites the match it found before.
void frmFind::cmdReplace_Click()
{
    if (m_searchfromtop) {
        m_searchfromtop = !search(0);
        return;
    }
    m_editor.setSelText(m_txtReplace->text());
    searchOnward();
}

void frmFind::cmdFindcancel_Click()
{
    closeDown();
}

void frmFind::Form_Unload()
{
    closeDown();
}

void frmFind::closeDown()
{
    returnToEditor();
    m_searchfromtop = true;
    setReplaceMode(false);
}
