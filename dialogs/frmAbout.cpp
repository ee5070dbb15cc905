#include "dialogs/frmAbout.h"

#include "formats/base/Twips.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace {

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, const QRect& at)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(at);
    label->setWordWrap(true);
    label->setAccessibleName(text);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Quillmere ver " QUILLMERE_VERSION));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    setFixedSize(Twips::toPixels(0, 0, 5730, 3030).size());

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setGeometry(Twips::toPixels(120, 120, 1215, 2295));
    picture->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // Drawn from the SVG at the screen's pixel ratio, so it stays sharp on a HiDPI screen.
    picture->setPixmap(QIcon(QStringLiteral(":/icons/quillmere.svg"))
                           .pixmap(QSize(72, 72), picture->devicePixelRatio()));
    picture->setAccessibleName(tr("Quillmere icon"));

    QFont titleFont = font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
    titleFont.setBold(true);
    addLabel(this, "lblTitle", QStringLiteral("Quillmere"), Twips::toPixels(1440, 720, 3885, 480))
        ->setFont(titleFont);
    addLabel(this, "lblVersion", QStringLiteral("Version " QUILLMERE_VERSION),
             Twips::toPixels(1440, 1200, 3885, 225));
    addLabel(this, "lblDescription",
             QStringLiteral("A text editor supporting seed generation word processing."),
             Twips::toPixels(1440, 1560, 3885, 525));
    addLabel(this, "Label1", QStringLiteral("https://quillmere.org"),
             Twips::toPixels(1440, 2160, 3885, 285));

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(Twips::toPixels(90, 2430, 5564, 45));

    addLabel(this, "Label2", QStringLiteral("\u00A9 2026 the Quillmere developers"),
             Twips::toPixels(120, 2683, 3975, 375));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setGeometry(Twips::toPixels(4245, 2625, 1260, 345));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    connect(ok, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    ok->setFocus();
}

// The box deletes itself when done, so the next showing loads it afresh.
void frmAbout::cmdOK_Click()
{
    accept();
}
