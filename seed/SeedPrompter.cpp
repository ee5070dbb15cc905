#include "seed/SeedPrompter.h"

#include "documents/WordCount.h"
#include "formats/base/TextProperties.h"
#include "platform/CommonDialog.h"
#include "platform/MessageService.h"
#include "platform/RichTextBox.h"
#include "seed/RandomGenerator.h"
#include "seed/SeedFile.h"
#include "seed/SeedLibrary.h"
#include "seed/SeedPath.h"
#include "seed/SeedRun.h"

#include <QAction>
#include <QDir>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

// Every injection mixes the same number into the generator; the sequence itself runs on.
constexpr double injectionReseed = 221;
constexpr int maxRedraws = 4;

QString quotedPaths(const SeedLibrary& library, const QList<int>& seeds)
{
    QStringList quoted;
    for (const int seed : seeds)
        quoted << u'"' + QDir::toNativeSeparators(library.seeds[seed].path) + u'"';
    return quoted.join(QLatin1String(", "));
}

} // namespace

SeedPrompter::SeedPrompter(RichTextBox& editor, const Entries& entries, QTimer& timer,
                           CommonDialog& dialog, MessageService& messages, RandomGenerator& random,
                           const QString& programDir, const SeedLibrary& library, QObject* parent)
    : QObject(parent), m_editor(editor), m_entries(entries), m_timer(timer), m_dialog(dialog),
      m_messages(messages), m_random(random), m_programDir(programDir), m_library(library)
{
}

void SeedPrompter::mnuNewSeed_Click()
{
    const SeedMarks before = seedMarks();
    markSeed(m_entries.mnuNewSeed);
    m_dialog.DialogTitle = QStringLiteral("Open");
    m_dialog.CancelError = false;
    m_dialog.Filter = QStringLiteral("All Files (*.txt)|*.txt");
    m_dialog.ShowOpen();
    if (m_dialog.FileName.isEmpty()) {
        m_entries.mnuNewSeed->setChecked(false);
        return;
    }
    if (loadSeed(m_dialog.FileName))
        emit fileChosen(m_dialog.FileName);
    else
        setSeedMarks(before);
}

void SeedPrompter::chooseFile(const QString& path)
{
    const SeedMarks before = seedMarks();
    setSeedMarks({});
    if (loadSeed(path))
        emit fileChosen(path);
    else
        setSeedMarks(before);
}

void SeedPrompter::chooseMix()
{
    setSeedMarks({});
    m_mixing = true;
    m_mixWarned = false;
    if (drawMixedSeed())
        injectseed(m_seedText);
}

// A seed that cannot be read is passed over, as if it were not ticked; when none can be read,
// the writer is told once, not at every prompt, until one can be read again.
bool SeedPrompter::drawMixedSeed()
{
    QList<int> unreadable;
    for (int drawn = m_library.draw(m_random); drawn >= 0;
         drawn = m_library.draw(m_random, unreadable)) {
        SeedFile file;
        if (file.read(m_library.seeds[drawn].path)) {
            m_seedText = file.takeText();
            m_mixWarned = false;
            return true;
        }
        unreadable << drawn;
    }
    if (unreadable.isEmpty())
        return true;
    if (!std::exchange(m_mixWarned, true))
        m_messages.MsgBox(QStringLiteral("Cannot read any of the active seed files: %1.")
                              .arg(quotedPaths(m_library, unreadable)),
                          MessageService::Icon::Warning);
    return false;
}

void SeedPrompter::mnuSeedOne_Click()
{
    const SeedMarks before = seedMarks();
    markSeed(m_entries.mnuSeedOne);
    if (!loadSeed(shippedSeed(QStringLiteral("seedone.txt"))))
        setSeedMarks(before);
}

void SeedPrompter::mnuSeedTwo_Click()
{
    const SeedMarks before = seedMarks();
    markSeed(m_entries.mnuSeedTwo);
    if (!loadSeed(shippedSeed(QStringLiteral("seedtwo.txt"))))
        setSeedMarks(before);
}

// Unlike the other sources, Seed Three shows its mark only once its words are on the page.
void SeedPrompter::mnuSeedThree_Click()
{
    if (loadSeed(shippedSeed(QStringLiteral("seedthree.txt"))))
        markSeed(m_entries.mnuSeedThree);
}

void SeedPrompter::mnuInject_Click()
{
    if (m_mixing && !drawMixedSeed())
        return;
    injectseed(m_seedText);
}

bool SeedPrompter::loadSeed(const QString& path)
{
    SeedFile file;
    if (!file.read(path)) {
        m_messages.MsgBox(QStringLiteral("Cannot read the seed file \"%1\": %2.")
                              .arg(QDir::toNativeSeparators(path), file.errorString()),
                          MessageService::Icon::Warning);
        return false;
    }
    m_seedText = file.takeText();
    m_mixing = false;
    injectseed(m_seedText);
    return true;
}

QString SeedPrompter::shippedSeed(const QString& fileName) const
{
    return SeedPath::shippedSeed(fileName, m_programDir);
}

std::array<QAction*, 4> SeedPrompter::seedEntries() const
{
    const Entries& e = m_entries;
    return {e.mnuSeedOne, e.mnuSeedTwo, e.mnuSeedThree, e.mnuNewSeed};
}

SeedPrompter::SeedMarks SeedPrompter::seedMarks() const
{
    SeedMarks marks{};
    const auto entries = seedEntries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        marks[i] = entries[i]->isChecked();
    return marks;
}

void SeedPrompter::setSeedMarks(const SeedMarks& marks)
{
    const auto entries = seedEntries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i]->setChecked(marks[i]);
}

void SeedPrompter::markSeed(QAction* chosen)
{
    chosen->setChecked(true);
    for (QAction* entry : seedEntries())
        if (entry != chosen)
            entry->setChecked(false);
}

void SeedPrompter::injectseed(const QString& seedText)
{
    const QString run = drawRun(seedText);
    if (run.isNull())
        return;
    if (m_editor.SelRTF().isEmpty()) {
        // TextRTF() is these bytes widened one to one: the same length without the copy.
        const qsizetype length = m_editor.rtfData().size();
        m_editor.setSelStart(SeedRun::caretPosition(m_random.draw(), length));
        m_editor.setSelLength(0);
    }
    writeRun(run);
}

QString SeedPrompter::drawRun(const QString& seedText)
{
    if (!m_seedWords.isSplitOf(seedText))
        m_seedWords = SeedWords(seedText);
    if (seedText.size() <= 1) {
        warnNoSeed();
        return QString();
    }
    m_random.reseed(injectionReseed);
    float r1 = m_random.draw();
    float r2 = m_random.draw();
    if (m_library.noRepeats)
        redrawRepeats(r1, r2);
    return SeedRun::build(m_seedWords, r1, r2);
}

// The run carries its mark from the moment it is written: one edit, one step for Undo.
void SeedPrompter::writeRun(const QString& run)
{
    QTextCharFormat mark;
    mark.setProperty(TextProperties::SeedRun, TextProperties::newSeedRun());
    // A line break, of one character or two, is a paragraph break in the document.
    const qsizetype returns = run.count(QLatin1Char('\r'));
    const qsizetype feeds = run.count(QLatin1Char('\n'));
    mark.setProperty(TextProperties::SeedRunLength, run.size() - returns - feeds);
    mark.setProperty(TextProperties::SeedRunWords, WordCount::of(run).words);
    mark.setProperty(TextProperties::SeedRunBreaks,
                     feeds + returns - run.count(QLatin1String("\r\n")));
    const qint64 start = m_editor.SelStart();
    m_editor.setSelRTF(run, mark);
    emit injected(start, m_editor.SelStart() - start);
}

void SeedPrompter::injectAtCaret()
{
    if (m_mixing && !drawMixedSeed())
        return;
    const QString run = drawRun(m_seedText);
    if (run.isNull())
        return;
    m_editor.setSelStart(m_editor.textCursor().position());
    writeRun(run);
}

void SeedPrompter::redrawRepeats(float& r1, float& r2)
{
    const auto startOf = [this](float r) {
        const SeedRun::Span span = SeedRun::span(m_seedWords.size() - 1, r, 0.0f);
        return m_seedWords.at(SeedRun::roundHalfEven(span.start)).toString();
    };
    QString start = startOf(r1);
    for (int redraw = 0; redraw < maxRedraws &&
                         std::find(m_starts.cbegin(), m_starts.cend(), start) != m_starts.cend();
         ++redraw) {
        m_random.reseed(injectionReseed);
        r1 = m_random.draw();
        r2 = m_random.draw();
        start = startOf(r1);
    }
    m_starts.push_back(start);
    while (m_starts.size() > size_t(m_library.memory))
        m_starts.pop_front();
}

void SeedPrompter::warnNoSeed()
{
    m_messages.MsgBox(QStringLiteral("You must first enter a seed text"),
                      MessageService::Icon::Warning);
}

void SeedPrompter::mnu0Sec_Click()
{
    setInterval(m_entries.mnu0Sec, 0);
}

void SeedPrompter::mnu10Sec_Click()
{
    chooseInterval(m_entries.mnu10Sec, 10000);
}

void SeedPrompter::mnu20Sec_Click()
{
    chooseInterval(m_entries.mnu20Sec, 20000);
}

void SeedPrompter::mnu30Sec_Click()
{
    chooseInterval(m_entries.mnu30Sec, 30000);
}

void SeedPrompter::mnu300Sec_Click()
{
    chooseInterval(m_entries.mnu300Sec, 300000);
}

void SeedPrompter::mnu600Sec_Click()
{
    chooseInterval(m_entries.mnu600Sec, 600000);
}

void SeedPrompter::chooseInterval(QAction* entry, int milliseconds)
{
    if (acceptsPrompts())
        setInterval(entry, milliseconds);
}

// Only an empty seed is refused here; a one-character seed passes and each prompt then warns.
bool SeedPrompter::acceptsPrompts()
{
    if (!m_seedText.isEmpty())
        return true;
    warnNoSeed();
    return false;
}

void SeedPrompter::setInterval(QAction* entry, int milliseconds)
{
    // QTimer fires continuously at 0 ms, so 0 means stop. start() restarts the countdown.
    if (milliseconds == 0) {
        m_timer.stop();
        m_timer.setInterval(0);
    } else {
        m_timer.start(milliseconds);
    }
    const Entries& e = m_entries;
    for (QAction* mark : {e.mnu0Sec, e.mnu10Sec, e.mnu20Sec, e.mnu30Sec, e.mnu300Sec, e.mnu600Sec})
        mark->setChecked(mark == entry);
    emit intervalSet(milliseconds);
}

void SeedPrompter::stopTimer()
{
    m_timer.stop();
    m_timer.setInterval(0);
    const Entries& e = m_entries;
    for (QAction* mark : {e.mnu0Sec, e.mnu10Sec, e.mnu20Sec, e.mnu30Sec, e.mnu300Sec, e.mnu600Sec})
        mark->setChecked(false);
}

void SeedPrompter::Timer1_Timer()
{
    if (m_mixing && !drawMixedSeed())
        return;
    injectseed(m_seedText);
}
