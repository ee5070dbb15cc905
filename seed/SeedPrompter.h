#pragma once

#include "seed/SeedWords.h"

#include <QObject>
#include <QString>

#include <array>

class CommonDialog;
class MessageService;
class QAction;
class QTimer;
class RandomGenerator;
class RichTextBox;

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

    /// timer is the prompt timer; programDir the folder that holds the program file.
    SeedPrompter(RichTextBox& editor, const Entries& entries, QTimer& timer, CommonDialog& dialog,
                 MessageService& messages, RandomGenerator& random, const QString& programDir,
                 QObject* parent = nullptr);

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

    /// Writes one random run of seed words over the selection, or at a random place.
    void injectseed(const QString& seedText);

signals:
    /// injectseed wrote a run of length characters at start.
    void injected(qint64 start, qint64 length);

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

    RichTextBox& m_editor;
    Entries m_entries;
    QTimer& m_timer;
    CommonDialog& m_dialog;
    MessageService& m_messages;
    RandomGenerator& m_random;
    QString m_programDir;
    QString m_seedText;
    SeedWords m_seedWords;
};
