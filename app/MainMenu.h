#pragma once

#include "seed/SeedLibrary.h"
#include "spelling/SpellDictionary.h"

#include <QAction>

#include <array>

class QMenu;
class QMenuBar;
class QWidget;

/// Every entry of the main window's menu bar, by its own name.
struct MainMenu
{
    QMenu* mnuFile;
    QAction* mnuNew;
    QAction* mnuOpen;
    QAction* mnuSave;
    QAction* mnuSaveas;
    QAction* mnuSep1;
    QAction* mnuPrint;
    QAction* mnuPageSetup;
    QAction* mnuSep2;
    QAction* mnuExit;
    QMenu* mnuSeed;
    QMenu* mnuSelectSeed;
    QAction* mnuNewSeed;
    QAction* mnuSeedOne;
    QAction* mnuSeedTwo;
    QAction* mnuSeedThree;
    QAction* mnuSepSeeds;
    /// The recent seed files, shown as they are filled.
    std::array<QAction*, SeedLibrary::maxRecent> mnuRecentSeed;
    QAction* mnuSepManage;
    QAction* mnuManageSeeds;
    QAction* mnuInject;
    QAction* mnuReroll;
    QMenu* mnuEdit;
    QAction* mnuUndo;
    QAction* mnuSep3;
    QAction* mnuCut;
    QAction* mnuCopy;
    QAction* mnuPaste;
    QAction* mnuDelete;
    QAction* mnuSep4;
    QAction* mnuFind;
    QAction* mnuReplace;
    QAction* mnuGoto;
    QAction* mnuSep5;
    QAction* mnuSelectall;
    QAction* mnuSep6;
    QAction* mnuCheckSpelling;
    QMenu* mnuSpellingLanguage;
    /// One entry for each installed dictionary, its name as data (addSpellingLanguages).
    QList<QAction*> mnuLanguages;
    QMenu* mnuTimer;
    QAction* mnu0Sec;
    QAction* mnu600Sec;
    QAction* mnu300Sec;
    QAction* mnu30Sec;
    QAction* mnu20Sec;
    QAction* mnu10Sec;
    QAction* mnuPause10Sec;
    QAction* mnuPause30Sec;
    QAction* mnuPause60Sec;
    QMenu* mnuFormat;
    QAction* mnuBold;
    QAction* mnuItalic;
    QAction* mnuUnderline;
    QAction* mnuStrikethru;
    QAction* mnuBullet;
    QAction* mnuColor;
    QAction* mnuFont;
    QMenu* mnuLineSpacing;
    QAction* mnuSingleSpacing;
    QAction* mnuOneAndHalfSpacing;
    QAction* mnuDoubleSpacing;
    QAction* mnuPageBreak;
    QMenu* mnuView;
    QAction* mnuShowSeedText;
    QAction* mnuSepView;
    QAction* mnuFullScreen;
    QMenu* mnuFocus;
    QAction* mnuFocusOff;
    QAction* mnuFocusParagraph;
    QAction* mnuFocusSentence;
    QAction* mnuFocusThreeLines;
    QAction* mnuTypewriter;
    QMenu* mnuTheme;
    QAction* mnuThemeLight;
    QAction* mnuThemeDark;
    QAction* mnuThemeDesktop;
    QAction* mnuNextDocument;
    QAction* mnuPreviousDocument;
    QAction* mnuSepSession;
    QAction* mnuReopenSession;
    QAction* mnuSepGoals;
    QAction* mnuGoals;
    QAction* mnuStatistics;
    QMenu* mnuHelp;
    QAction* mnuAbout;

    /// Builds the whole menu bar with its captions, shortcuts and initial states.
    static MainMenu build(QMenuBar* bar, QWidget* window);

    /// Fills Edit > Spelling Language: one entry for each of installed, by its language.
    void addSpellingLanguages(QWidget* window, const QList<SpellDictionary>& installed);

    /// Runs handler when the entry is chosen. A checkable entry's mark is put back first:
    /// the handlers set the marks themselves, as they would for a plain click.
    template <class Handler> static void onClick(QAction* entry, QObject* context, Handler handler)
    {
        QObject::connect(entry, &QAction::triggered, context, [entry, handler] {
            if (entry->isCheckable())
                entry->setChecked(!entry->isChecked());
            handler();
        });
    }

    /// Runs a handler method of receiver when the entry is chosen.
    template <class Receiver>
    static void onClick(QAction* entry, Receiver* receiver, void (Receiver::*handler)())
    {
        onClick(entry, receiver, [receiver, handler] { (receiver->*handler)(); });
    }

private:
    void buildFile(QMenuBar* bar, QWidget* window);
    void buildSeed(QMenuBar* bar, QWidget* window);
    void buildEdit(QMenuBar* bar, QWidget* window);
    void buildTimer(QMenuBar* bar, QWidget* window);
    void buildFormat(QMenuBar* bar, QWidget* window);
    void buildView(QMenuBar* bar, QWidget* window);
    void buildHelp(QMenuBar* bar, QWidget* window);
};
