#pragma once

#include "seed/SeedWords.h"

#include <QObject>
#include <QString>

#include <array>
#include <deque>

class CommonDialog;
class MessageService;
class QAction;
class QTimer;
class RandomGenerator;
class RichTextBox;
class SeedLibrary;

/// The seed text, its sources, the injection of seed words and the prompt timer.
class SeedPrompter : public QObject
{
    Q_OBJECT

public:
    /// The entries whose check marks say which seed and which period were chosen.
    struct Entries
    {
        QAction* mnuNewSeed = nullptr;
        QAction* mnuSeedOne = nullptr;
        QAction* mnuSeedTwo = nullptr;
        QAction* mnuSeedThree = nullptr;
        QAction* mnu0Sec = nullptr;
        QAction* mnu600Sec = nullptr;
        QAction* mnu300Sec = nullptr;
        QAction* mnu30Sec = nullptr;
        QAction* mnu20Sec = nullptr;
        QAction* mnu10Sec = nullptr;
    };

    /// timer is the prompt timer; programDir the folder that holds the program file; library
    /// the seeds mixed and whether runs avoid repeating their starts.
    SeedPrompter(RichTextBox& editor, const Entries& entries, QTimer& timer, CommonDialog& dialog,
                 MessageService& messages, RandomGenerator& random, const QString& programDir,
                 const SeedLibrary& library, QObject* parent = nullptr);

    const QString& seedText() const { return m_seedText; }

    void mnuNewSeed_Click();
    void mnuSeedOne_Click();
    void mnuSeedTwo_Click();
    void mnuSeedThree_Click();
    void mnuInject_Click();

    void mnu0Sec_Click();
    void mnu10Sec_Click();
    void mnu20Sec_Click();
    void mnu30Sec_Click();
    void mnu300Sec_Click();
    void mnu600Sec_Click();
    void Timer1_Timer();

    /// Reads a seed file chosen by name, as New Seed reads the one it asks for, and injects.
    void chooseFile(const QString& path);
    /// From now on each injection draws its seed from the library's active seeds, by weight;
    /// a first run is written at once.
    void chooseMix();
    /// Stops the prompt timer and clears its entries' marks, for a prompt of another kind.
    void stopTimer();
    /// Whether there is a seed to prompt with; when not, the writer is told so.
    bool acceptsPrompts();
    /// Writes one run of the seed words at the caret, drawn as injectseed draws it.
    void injectAtCaret();

    /// Writes one random run of seed words over the selection, or at a random place.
    void injectseed(const QString& seedText);

signals:
    /// injectseed wrote a run of length characters at start.
    void injected(qint64 start, qint64 length);
    /// A seed file the writer named was read: by New Seed or by chooseFile().
    void fileChosen(const QString& path);
    /// An entry of the Timer menu set the prompt timer.
    void intervalSet(int milliseconds);

private:
    using SeedMarks = std::array<bool, 4>;

    /// Reads a seed file into seedText and injects; false, with a message, when it cannot.
    bool loadSeed(const QString& path);
    QString shippedSeed(const QString& fileName) const;
    std::array<QAction*, 4> seedEntries() const;
    SeedMarks seedMarks() const;
    void setSeedMarks(const SeedMarks& marks);
    void markSeed(QAction* chosen);
    void chooseInterval(QAction* entry, int milliseconds);
    void setInterval(QAction* entry, int milliseconds);
    void warnNoSeed();
    /// The run injectseed writes for seedText; null, after the warning, when the seed is too
    /// short.
    QString drawRun(const QString& seedText);
    /// Writes run over the selection, telling where it went.
    void writeRun(const QString& run);
    /// With several seeds mixed, reads the one drawn among those that can be read into
    /// seedText; false when none can.
    bool drawMixedSeed();
    /// Draws again while the run would start on a word a recent run started on, a few times
    /// at most, so a seed of few words cannot hold the injection up.
    void redrawRepeats(float& r1, float& r2);

    RichTextBox& m_editor;
    Entries m_entries;
    QTimer& m_timer;
    CommonDialog& m_dialog;
    MessageService& m_messages;
    RandomGenerator& m_random;
    QString m_programDir;
    QString m_seedText;
    SeedWords m_seedWords;
    const SeedLibrary& m_library;
    bool m_mixing = false;
    /// Whether the writer was told that none of the mixed seeds can be read.
    bool m_mixWarned = false;
    /// The words the latest runs started on, the latest last.
    std::deque<QString> m_starts;
};
