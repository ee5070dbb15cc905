#pragma once

#include <QObject>

#include <functional>

class QAction;
class QTimer;
class SeedPrompter;

/// The Timer menu's "When I pause" entries: a run of seed words at the caret once the writer
/// has not typed for the chosen time, and then none until the writer types again. It and the
/// prompt timer exclude each other.
class PausePrompter : public QObject
{
    Q_OBJECT

public:
    struct Entries
    {
        QAction* mnuPause10Sec = nullptr;
        QAction* mnuPause30Sec = nullptr;
        QAction* mnuPause60Sec = nullptr;
    };

    /// clock reads milliseconds on a clock that never goes back.
    PausePrompter(SeedPrompter& prompter, const Entries& entries, std::function<qint64()> clock,
                  QObject* parent = nullptr);

    QTimer* tmrPause() const { return m_timer; }

    void mnuPause10Sec_Click();
    void mnuPause30Sec_Click();
    void mnuPause60Sec_Click();
    /// The writer pressed a key in the editor: the pause starts again from now.
    void txtFile_KeyDown();
    /// Prompts when the pause has lasted long enough, else waits for the rest of it.
    void tmrPause_Timer();
    /// The prompt timer's entries were used: they stop this prompt.
    void seed_IntervalSet();

private:
    void choose(QAction* entry, int milliseconds);
    void setPause(QAction* entry, int milliseconds);

    SeedPrompter& m_prompter;
    Entries m_entries;
    std::function<qint64()> m_clock;
    QTimer* m_timer;
    /// The pause chosen; 0 while none is.
    int m_pauseMs = 0;
    qint64 m_lastKey = 0;
    /// Whether the writer typed since the last prompt.
    bool m_armed = false;
};
