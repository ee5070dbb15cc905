#include "seed/SeedPrompter.h"

#include "app/frmVellumo.h"
#include "platform/CommonDialog.h"
#include "platform/MessageService.h"
#include "platform/RichTextBox.h"
#include "seed/RandomGenerator.h"
#include "seed/SeedFile.h"
#include "seed/SeedPath.h"
#include "seed/SeedRun.h"

#include <QDir>
#include <QTimer>

namespace {

// Every injection mixes the same number into the generator; the sequence itself runs on.
constexpr double injectionReseed = 221;

std::array<QAction*, 4> seedEntries(const MainMenu& m)
{
    return {m.mnuSeedOne, m.mnuSeedTwo, m.mnuSeedThree, m.mnuNewSeed};
}

} // namespace

SeedPrompter::SeedPrompter(frmVellumo& window) : QObject(&window), m_window(window)
{
    connectMenu();
}

void SeedPrompter::connectMenu()
{
    const MainMenu& m = m_window.menu();
    MainMenu::onClick(m.mnuNewSeed, this, [this] { mnuNewSeed_Click(); });
    MainMenu::onClick(m.mnuSeedOne, this, [this] { mnuSeedOne_Click(); });
    MainMenu::onClick(m.mnuSeedTwo, this, [this] { mnuSeedTwo_Click(); });
    MainMenu::onClick(m.mnuSeedThree, this, [this] { mnuSeedThree_Click(); });
    MainMenu::onClick(m.mnuInject, this, [this] { mnuInject_Click(); });
    MainMenu::onClick(m.mnu0Sec, this, [this] { mnu0Sec_Click(); });
    MainMenu::onClick(m.mnu10Sec, this, [this] { mnu10Sec_Click(); });
    MainMenu::onClick(m.mnu20Sec, this, [this] { mnu20Sec_Click(); });
    MainMenu::onClick(m.mnu30Sec, this, [this] { mnu30Sec_Click(); });
    MainMenu::onClick(m.mnu300Sec, this, [this] { mnu300Sec_Click(); });
    MainMenu::onClick(m.mnu600Sec, this, [this] { mnu600Sec_Click(); });
    connect(m_window.Timer1(), &QTimer::timeout, this, &SeedPrompter::Timer1_Timer);
}

void SeedPrompter::mnuNewSeed_Click()
{
    const SeedMarks before = seedMarks();
    markSeed(m_window.menu().mnuNewSeed);
    CommonDialog& dialog = *m_window.services().dialog;
    dialog.DialogTitle = QStringLiteral("Open");
    dialog.CancelError = false;
    dialog.Filter = QStringLiteral("All Files (*.txt)|*.txt");
    dialog.ShowOpen();
    if (dialog.FileName.isEmpty()) {
        m_window.menu().mnuNewSeed->setChecked(false);
        return;
    }
    if (!loadSeed(dialog.FileName))
        setSeedMarks(before);
}

void SeedPrompter::mnuSeedOne_Click()
{
    const SeedMarks before = seedMarks();
    markSeed(m_window.menu().mnuSeedOne);
    if (!loadSeed(shippedSeed(QStringLiteral("seedone.txt"))))
        setSeedMarks(before);
}

void SeedPrompter::mnuSeedTwo_Click()
{
    const SeedMarks before = seedMarks();
    markSeed(m_window.menu().mnuSeedTwo);
    if (!loadSeed(shippedSeed(QStringLiteral("seedtwo.txt"))))
        setSeedMarks(before);
}

// Unlike the other sources, Seed Three shows its mark only once its words are on the page.
void SeedPrompter::mnuSeedThree_Click()
{
    if (loadSeed(shippedSeed(QStringLiteral("seedthree.txt"))))
        markSeed(m_window.menu().mnuSeedThree);
}

void SeedPrompter::mnuInject_Click()
{
    injectseed(m_seedText);
}

bool SeedPrompter::loadSeed(const QString& path)
{
    SeedFile file;
    if (!file.read(path)) {
        m_window.services().messages->MsgBox(
            QStringLiteral("Cannot read the seed file \"%1\": %2.")
                .arg(QDir::toNativeSeparators(path), file.errorString()),
            MessageService::Icon::Warning);
        return false;
    }
    m_seedText = file.takeText();
    injectseed(m_seedText);
    return true;
}

QString SeedPrompter::shippedSeed(const QString& fileName) const
{
    return SeedPath::shippedSeed(fileName, m_window.services().programDir);
}

SeedPrompter::SeedMarks SeedPrompter::seedMarks() const
{
    SeedMarks marks{};
    const auto entries = seedEntries(m_window.menu());
    for (std::size_t i = 0; i < entries.size(); ++i)
        marks[i] = entries[i]->isChecked();
    return marks;
}

void SeedPrompter::setSeedMarks(const SeedMarks& marks)
{
    const auto entries = seedEntries(m_window.menu());
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i]->setChecked(marks[i]);
}

void SeedPrompter::markSeed(QAction* chosen)
{
    chosen->setChecked(true);
    for (QAction* entry : seedEntries(m_window.menu()))
        if (entry != chosen)
            entry->setChecked(false);
}

void SeedPrompter::injectseed(const QString& seedText)
{
    if (!m_seedWords.isSplitOf(seedText))
        m_seedWords = SeedWords(seedText);
    if (seedText.size() <= 1) {
        warnNoSeed();
        return;
    }
    RandomGenerator& random = *m_window.services().random;
    random.reseed(injectionReseed);
    const float r1 = random.draw();
    const float r2 = random.draw();
    const QString run = SeedRun::build(m_seedWords, r1, r2);
    RichTextBox& txtFile = *m_window.txtFile();
    if (txtFile.SelRTF().isEmpty()) {
        const qsizetype length = txtFile.TextRTF().size();
        txtFile.setSelStart(SeedRun::caretPosition(random.draw(), length));
        txtFile.setSelLength(0);
    }
    txtFile.setSelRTF(run);
}

void SeedPrompter::warnNoSeed()
{
    m_window.services().messages->MsgBox(QStringLiteral("You must first enter a seed text"),
                                         MessageService::Icon::Warning);
}

void SeedPrompter::mnu0Sec_Click()
{
    setInterval(m_window.menu().mnu0Sec, 0);
}

void SeedPrompter::mnu10Sec_Click()
{
    chooseInterval(m_window.menu().mnu10Sec, 10000);
}

void SeedPrompter::mnu20Sec_Click()
{
    chooseInterval(m_window.menu().mnu20Sec, 20000);
}

void SeedPrompter::mnu30Sec_Click()
{
    chooseInterval(m_window.menu().mnu30Sec, 30000);
}

void SeedPrompter::mnu300Sec_Click()
{
    chooseInterval(m_window.menu().mnu300Sec, 300000);
}

void SeedPrompter::mnu600Sec_Click()
{
    chooseInterval(m_window.menu().mnu600Sec, 600000);
}

// Only an empty seed is refused here; a one-character seed passes and each tick then warns.
void SeedPrompter::chooseInterval(QAction* entry, int milliseconds)
{
    if (m_seedText.isEmpty()) {
        warnNoSeed();
        return;
    }
    setInterval(entry, milliseconds);
}

void SeedPrompter::setInterval(QAction* entry, int milliseconds)
{
    QTimer* timer = m_window.Timer1();
    // QTimer fires continuously at 0 ms, so 0 means stop. start() restarts the countdown.
    if (milliseconds == 0) {
        timer->stop();
        timer->setInterval(0);
    } else {
        timer->start(milliseconds);
    }
    const MainMenu& m = m_window.menu();
    for (QAction* mark : {m.mnu0Sec, m.mnu10Sec, m.mnu20Sec, m.mnu30Sec, m.mnu300Sec, m.mnu600Sec})
        mark->setChecked(mark == entry);
}

void SeedPrompter::Timer1_Timer()
{
    injectseed(m_seedText);
}
