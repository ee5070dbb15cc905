#include "app/frmVellumo.h"

#include "app/FullScreen.h"
#include "app/LayoutRule.h"
#include "app/MainToolbar.h"
#include "app/WindowGeometry.h"
#include "dialogs/GoalCommands.h"
#include "dialogs/SearchCommands.h"
#include "dialogs/SeedLibraryCommands.h"
#include "dialogs/frmAbout.h"
#include "documents/DocumentList.h"
#include "documents/DocumentStatistics.h"
#include "documents/FileCommands.h"
#include "documents/LastSession.h"
#include "documents/Recovery.h"
#include "documents/WordCountStatus.h"
#include "editing/EditCommands.h"
#include "editing/EditorMarks.h"
#include "editing/EditorTheme.h"
#include "editing/FocusMode.h"
#include "editing/FormatCommands.h"
#include "editing/PageCommands.h"
#include "editing/ToolbarState.h"
#include "editing/TypewriterScrolling.h"
#include "editing/UndoSnapshot.h"
#include "formats/base/Twips.h"
#include "goals/GoalStatus.h"
#include "goals/WritingTally.h"
#include "platform/BusyIndicator.h"
#include "platform/FileArguments.h"
#include "platform/MessageService.h"
#include "platform/RichTextBox.h"
#include "seed/InjectionMark.h"
#include "seed/PausePrompter.h"
#include "seed/SeedMarks.h"
#include "seed/SeedPrompter.h"
#include "seed/SeedReroll.h"
#include "spelling/SpellChecker.h"
#include "spelling/SpellingCommands.h"
#include "spelling/Thesaurus.h"
#include "spelling/ThesaurusCommands.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {

const char* const settingsGroup = "Settings";
const char* const keyLeft = "MainLeft";
const char* const keyTop = "MainTop";
const char* const keyWidth = "MainWidth";
const char* const keyHeight = "MainHeight";
const char* const keyCheckSpelling = "CheckSpelling";
const char* const keySpellingLanguage = "SpellingLanguage";
const char* const keyShowSeedText = "ShowSeedText";
const char* const keyFocus = "Focus";
const char* const keyTypewriter = "TypewriterScrolling";
const char* const keyTheme = "Theme";

QList<QRect> screenRects()
{
    QList<QRect> rects;
    for (const QScreen* screen : QGuiApplication::screens())
        rects << screen->availableGeometry();
    return rects;
}

} // namespace

frmVellumo::frmVellumo(const AppServices& services) : m_services(services)
{
    setObjectName(QStringLiteral("frmVellumo"));
    createControls();
    m_menu = MainMenu::build(menuBar(), this);
    MainToolbar::build(*m_tbrVellumo, m_menu);
    createSubsystems();
    Form_Load();
}

// Each subsystem gets exactly what it works on; none of them knows the window.
void frmVellumo::createSubsystems()
{
    RichTextBox& editor = *m_txtFile;
    MessageService& messages = *m_services.messages;
    m_documents = new DocumentList(editor, *m_cmbFiles, this);
    m_busy = new BusyIndicator(*m_sbrVellumo, m_services.clock, this);
    m_files = new FileCommands(editor, *m_documents, *m_services.dialog, messages, *m_busy, this);
    m_recovery = new Recovery(*m_documents, messages, m_services.dataDir, m_services.clock, this);
    m_session = new LastSession(editor, *m_documents, *m_files, *m_menu.mnuReopenSession, this);
    m_undo = new UndoSnapshot(editor, *m_documents, this);
    const MainMenu& m = m_menu;
    m_seedLibrary = new SeedLibraryCommands(
        *this, {m.mnuRecentSeed, m.mnuSepSeeds, m.mnuManageSeeds}, *m_services.dialog, this);
    m_seed = new SeedPrompter(editor,
                              {m.mnuNewSeed, m.mnuSeedOne, m.mnuSeedTwo, m.mnuSeedThree, m.mnu0Sec,
                               m.mnu600Sec, m.mnu300Sec, m.mnu30Sec, m.mnu20Sec, m.mnu10Sec},
                              *m_timer1, *m_services.dialog, messages, *m_services.random,
                              m_services.programDir, m_seedLibrary->library(), this);
    m_edit = new EditCommands(editor, *m_undo, messages, this);
    const FormatToggles toggles{m.mnuBold, m.mnuItalic, m.mnuUnderline, m.mnuStrikethru,
                                m.mnuBullet};
    m_toolbar = new ToolbarState(editor, {m.mnuCut, m.mnuCopy, m.mnuDelete}, toggles, this);
    m_format = new FormatCommands(editor, *m_undo, toggles, *m_services.dialog, this);
    m_page = new PageCommands(editor, *m_undo,
                              {m.mnuSingleSpacing, m.mnuOneAndHalfSpacing, m.mnuDoubleSpacing},
                              *m_services.dialog, this);
    m_search = new SearchCommands(*this, editor, messages, this);
    m_statistics = new DocumentStatistics(editor, this);
    m_wordCount = new WordCountStatus(*m_statistics, *m_lblWordCount, this);
    m_marks = new EditorMarks(editor, this);
    createSpelling();
    m_injectionMark = new InjectionMark(editor, *m_marks, this);
    m_seedMarks = new SeedMarks(editor, *m.mnuShowSeedText, this);
    m_reroll = new SeedReroll(editor, *m_seed, *m_undo, *m.mnuReroll, this);
    m_pause = new PausePrompter(*m_seed, {m.mnuPause10Sec, m.mnuPause30Sec, m.mnuPause60Sec},
                                m_services.clock, this);
    m_fullScreen = new FullScreen(
        *this, editor, {menuBar(), m_tbrVellumo, m_cmbFiles, m_sbrVellumo}, *m.mnuFullScreen, this);
    m_focus = new FocusMode(
        editor, {m.mnuFocusOff, m.mnuFocusParagraph, m.mnuFocusSentence, m.mnuFocusThreeLines},
        this);
    m_typewriter = new TypewriterScrolling(editor, *m.mnuTypewriter, this);
    m_theme = new EditorTheme(editor, {m.mnuThemeLight, m.mnuThemeDark, m.mnuThemeDesktop}, this);
    m_history = std::make_unique<WritingHistory>(WritingHistory::fileIn(m_services.dataDir));
    m_tally = new WritingTally(*m_history, m_services.today, m_services.clock, this);
    m_goalStatus = new GoalStatus(*m_tally, *m_lblGoal, *m_prgGoal, this);
    m_goals =
        new GoalCommands(*this, *m_goalStatus, {*m_history, *m_statistics, m_services.today}, this);
    connectCommands();
    connectEvents();
}

// The underline, its menu entries and the synonyms, in the language chosen or the locale's.
void frmVellumo::createSpelling()
{
    RichTextBox& editor = *m_txtFile;
    const MainMenu& m = m_menu;
    m_menu.addSpellingLanguages(this, SpellDictionary::installed(dictionaryFolders()));
    m_speller = new SpellChecker(SpellDictionary::find(QLocale(), dictionaryFolders()),
                                 m_services.dataDir, this);
    m_spelling = new SpellingCommands(editor, *m_marks, *m_speller, *m_undo, *m.mnuCheckSpelling,
                                      m.mnuLanguages, *m_services.messages, m_services.clock, this);
    m_thesaurus = std::make_unique<Thesaurus>(m_speller->dictionary().name,
                                              m_services.thesaurusDir.isEmpty()
                                                  ? QLatin1String(Thesaurus::systemFolder)
                                                  : m_services.thesaurusDir);
    m_synonyms = new ThesaurusCommands(editor, *m_thesaurus, *m_undo, this);
}

// Where every command leads: each menu entry, and so each toolbar button, to its handler.
void frmVellumo::connectCommands()
{
    const MainMenu& m = m_menu;
    MainMenu::onClick(m.mnuNew, m_documents, &DocumentList::mnuNew_Click);
    MainMenu::onClick(m.mnuOpen, m_files, &FileCommands::mnuOpen_Click);
    MainMenu::onClick(m.mnuSave, m_files, &FileCommands::mnuSave_Click);
    MainMenu::onClick(m.mnuSaveas, m_files, &FileCommands::mnuSaveas_Click);
    MainMenu::onClick(m.mnuPrint, m_files, &FileCommands::mnuPrint_Click);
    MainMenu::onClick(m.mnuPageSetup, m_page, &PageCommands::mnuPageSetup_Click);
    MainMenu::onClick(m.mnuExit, this, &frmVellumo::mnuExit_Click);

    MainMenu::onClick(m.mnuNewSeed, m_seed, &SeedPrompter::mnuNewSeed_Click);
    MainMenu::onClick(m.mnuSeedOne, m_seed, &SeedPrompter::mnuSeedOne_Click);
    MainMenu::onClick(m.mnuSeedTwo, m_seed, &SeedPrompter::mnuSeedTwo_Click);
    MainMenu::onClick(m.mnuSeedThree, m_seed, &SeedPrompter::mnuSeedThree_Click);
    for (size_t index = 0; index < m.mnuRecentSeed.size(); ++index)
        MainMenu::onClick(m.mnuRecentSeed[index], m_seedLibrary,
                          [this, index] { m_seedLibrary->mnuRecentSeed_Click(int(index)); });
    MainMenu::onClick(m.mnuManageSeeds, m_seedLibrary, &SeedLibraryCommands::mnuManageSeeds_Click);
    MainMenu::onClick(m.mnuInject, m_seed, &SeedPrompter::mnuInject_Click);
    MainMenu::onClick(m.mnuReroll, m_reroll, &SeedReroll::mnuReroll_Click);

    MainMenu::onClick(m.mnuUndo, m_undo, &UndoSnapshot::mnuUndo_Click);
    // Text moved through the clipboard was written, if at all, where it came from.
    MainMenu::onClick(m.mnuCut, m_edit, [this] {
        const WritingTally::Aside aside(*m_tally);
        m_edit->mnuCut_Click();
    });
    MainMenu::onClick(m.mnuCopy, m_edit, &EditCommands::mnuCopy_Click);
    MainMenu::onClick(m.mnuPaste, m_edit, [this] {
        const WritingTally::Aside aside(*m_tally);
        m_edit->mnuPaste_Click();
    });
    MainMenu::onClick(m.mnuDelete, m_edit, &EditCommands::mnuDelete_Click);
    MainMenu::onClick(m.mnuFind, m_search, &SearchCommands::mnuFind_Click);
    MainMenu::onClick(m.mnuReplace, m_search, &SearchCommands::mnuReplace_Click);
    MainMenu::onClick(m.mnuGoto, m_search, &SearchCommands::mnuGoto_Click);
    MainMenu::onClick(m.mnuSelectall, m_edit, &EditCommands::mnuSelectall_Click);
    MainMenu::onClick(m.mnuCheckSpelling, m_spelling, &SpellingCommands::mnuCheckSpelling_Click);
    for (QAction* language : m.mnuLanguages)
        MainMenu::onClick(language, m_spelling, [this, language] {
            m_spelling->mnuSpellingLanguage_Click(
                SpellDictionary::named(language->data().toString(), dictionaryFolders()));
        });
    connectLaterMenus();
}

// The Timer, Format, View and Help menus' commands, and the right-click menu.
void frmVellumo::connectLaterMenus()
{
    const MainMenu& m = m_menu;
    MainMenu::onClick(m.mnu0Sec, m_seed, &SeedPrompter::mnu0Sec_Click);
    MainMenu::onClick(m.mnu600Sec, m_seed, &SeedPrompter::mnu600Sec_Click);
    MainMenu::onClick(m.mnu300Sec, m_seed, &SeedPrompter::mnu300Sec_Click);
    MainMenu::onClick(m.mnu30Sec, m_seed, &SeedPrompter::mnu30Sec_Click);
    MainMenu::onClick(m.mnu20Sec, m_seed, &SeedPrompter::mnu20Sec_Click);
    MainMenu::onClick(m.mnu10Sec, m_seed, &SeedPrompter::mnu10Sec_Click);
    MainMenu::onClick(m.mnuPause10Sec, m_pause, &PausePrompter::mnuPause10Sec_Click);
    MainMenu::onClick(m.mnuPause30Sec, m_pause, &PausePrompter::mnuPause30Sec_Click);
    MainMenu::onClick(m.mnuPause60Sec, m_pause, &PausePrompter::mnuPause60Sec_Click);

    MainMenu::onClick(m.mnuBold, m_format, &FormatCommands::mnuBold_Click);
    MainMenu::onClick(m.mnuItalic, m_format, &FormatCommands::mnuItalic_Click);
    MainMenu::onClick(m.mnuUnderline, m_format, &FormatCommands::mnuUnderline_Click);
    MainMenu::onClick(m.mnuStrikethru, m_format, &FormatCommands::mnuStrikethru_Click);
    MainMenu::onClick(m.mnuBullet, m_format, &FormatCommands::mnuBullet_Click);
    MainMenu::onClick(m.mnuColor, m_format, &FormatCommands::mnuColor_Click);
    MainMenu::onClick(m.mnuFont, m_format, &FormatCommands::mnuFont_Click);
    MainMenu::onClick(m.mnuSingleSpacing, m_page, &PageCommands::mnuSingleSpacing_Click);
    MainMenu::onClick(m.mnuOneAndHalfSpacing, m_page, &PageCommands::mnuOneAndHalfSpacing_Click);
    MainMenu::onClick(m.mnuDoubleSpacing, m_page, &PageCommands::mnuDoubleSpacing_Click);
    MainMenu::onClick(m.mnuPageBreak, m_page, &PageCommands::mnuPageBreak_Click);

    MainMenu::onClick(m.mnuShowSeedText, m_seedMarks, &SeedMarks::mnuShowSeedText_Click);
    MainMenu::onClick(m.mnuFullScreen, m_fullScreen, &FullScreen::mnuFullScreen_Click);
    const std::array focusUnits{m.mnuFocusOff, m.mnuFocusParagraph, m.mnuFocusSentence,
                                m.mnuFocusThreeLines};
    for (int unit = 0; unit < int(focusUnits.size()); ++unit)
        MainMenu::onClick(focusUnits[size_t(unit)], m_focus,
                          [this, unit] { m_focus->setUnit(unit); });
    MainMenu::onClick(m.mnuTypewriter, m_typewriter, &TypewriterScrolling::mnuTypewriter_Click);
    const std::array themes{m.mnuThemeLight, m.mnuThemeDark, m.mnuThemeDesktop};
    for (int theme = 0; theme < int(themes.size()); ++theme)
        MainMenu::onClick(themes[size_t(theme)], m_theme,
                          [this, theme] { m_theme->setTheme(theme); });
    MainMenu::onClick(m.mnuNextDocument, m_documents, &DocumentList::mnuNextDocument_Click);
    MainMenu::onClick(m.mnuPreviousDocument, m_documents, &DocumentList::mnuPreviousDocument_Click);
    MainMenu::onClick(m.mnuReopenSession, m_session, &LastSession::mnuReopenSession_Click);
    MainMenu::onClick(m.mnuGoals, m_goals, &GoalCommands::mnuGoals_Click);
    MainMenu::onClick(m.mnuStatistics, m_goals, &GoalCommands::mnuStatistics_Click);

    MainMenu::onClick(m.mnuAbout, this, &frmVellumo::mnuAbout_Click);
    // The right-click menu offers the Edit menu's own entries, so it shares their states.
    m_txtFile->setContextActions({m.mnuUndo, m.mnuSep3, m.mnuCut, m.mnuCopy, m.mnuPaste,
                                  m.mnuDelete, m.mnuSep5, m.mnuSelectall});
}

// What the controls, the timers and the subsystems tell, and who listens.
void frmVellumo::connectEvents()
{
    RichTextBox* editor = m_txtFile;
    // activated also fires when the user picks the entry that is already current.
    connect(m_cmbFiles, &QComboBox::activated, m_documents, &DocumentList::cmbFiles_Click);
    connect(m_timer1, &QTimer::timeout, m_seed, &SeedPrompter::Timer1_Timer);
    // The pause prompt waits for the writer's keys, and gives way to the prompt timer.
    connect(editor, &RichTextBox::KeyDown, m_pause, &PausePrompter::txtFile_KeyDown);
    connect(m_seed, &SeedPrompter::intervalSet, m_pause, &PausePrompter::seed_IntervalSet);
    connect(editor, &RichTextBox::KeyUp, m_undo, &UndoSnapshot::txtFile_KeyUp);
    connect(editor, &RichTextBox::SelChange, m_toolbar, &ToolbarState::txtFile_SelChange);
    connect(editor, &RichTextBox::SelChange, m_page, &PageCommands::txtFile_SelChange);
    // Focus and typewriter scrolling follow the caret; full screen lays the window out anew.
    connect(editor, &RichTextBox::SelChange, m_focus, &FocusMode::txtFile_SelChange);
    connect(m_documents, &DocumentList::currentChanged, m_focus, &FocusMode::txtFile_SelChange);
    connect(editor, &RichTextBox::SelChange, m_typewriter, &TypewriterScrolling::txtFile_SelChange);
    connect(m_fullScreen, &FullScreen::changed, this, &frmVellumo::Form_Resize);
    // Once the drop is over: the file manager waits for it, and the editor is still in it.
    connect(editor, &RichTextBox::FilesDropped, m_files, &FileCommands::openFiles,
            Qt::QueuedConnection);

    connect(m_documents, &DocumentList::currentChanged, this, &frmVellumo::showCaption);
    connect(m_documents, &DocumentList::renamed, this, &frmVellumo::showCaption);
    // Text dropped or pasted with the middle button, like Paste, was written, if at all, where
    // it came from.
    connect(editor, &RichTextBox::ForeignTextStarts, m_tally,
            &WritingTally::txtFile_ForeignTextStarts);
    connect(editor, &RichTextBox::ForeignTextEnds, m_tally, &WritingTally::txtFile_ForeignTextEnds);
    // A saved document's recovery copy goes at once, and a closed one's with it.
    connect(editor, &QTextEdit::textChanged, m_recovery, &Recovery::txtFile_Change);
    connect(m_documents, &DocumentList::saved, m_recovery, &Recovery::tmrRecovery_Timer);
    connect(m_documents, &DocumentList::added, m_recovery, &Recovery::documents_Added);
    connect(m_documents, &DocumentList::closed, m_recovery, &Recovery::documents_Closed);

    connectWritingEvents();
    connectSpellingEvents();
}

// The seed's runs and their marks, and the counts of what is written.
void frmVellumo::connectWritingEvents()
{
    RichTextBox* editor = m_txtFile;
    // The library hears of the files read, and hands the prompter the seeds chosen from it.
    connect(m_seed, &SeedPrompter::fileChosen, m_seedLibrary,
            &SeedLibraryCommands::seed_FileChosen);
    connect(m_seedLibrary, &SeedLibraryCommands::recentChosen, m_seed, &SeedPrompter::chooseFile);
    connect(m_seedLibrary, &SeedLibraryCommands::mixChosen, m_seed, &SeedPrompter::chooseMix);
    connect(m_seedLibrary, &SeedLibraryCommands::changed, this, &frmVellumo::saveSeedLibrary);

    // The words just written show until the writer next types or clicks in the editor.
    connect(m_seed, &SeedPrompter::injected, m_injectionMark, &InjectionMark::markRun);
    connect(m_seed, &SeedPrompter::injected, m_reroll, &SeedReroll::seed_Injected);
    connect(editor, &QTextEdit::textChanged, m_reroll, &SeedReroll::txtFile_Change);
    connect(m_documents, &DocumentList::currentChanged, m_reroll, &SeedReroll::txtFile_Change);
    connect(editor, &RichTextBox::KeyDown, m_injectionMark, &InjectionMark::txtFile_KeyDown);
    connect(editor, &RichTextBox::MouseDown, m_injectionMark, &InjectionMark::txtFile_MouseDown);
    // Marks drawn for one document must not cover the text of the next.
    connect(editor, &QTextEdit::textChanged, m_marks, &EditorMarks::txtFile_Change);

    // The counts follow the text, the selection and the document shown; the status bar shows them.
    connect(editor, &QTextEdit::textChanged, m_statistics, &DocumentStatistics::txtFile_Change);
    connect(editor, &RichTextBox::SelChange, m_statistics, &DocumentStatistics::txtFile_Change);
    connect(m_documents, &DocumentList::currentChanged, m_statistics,
            &DocumentStatistics::txtFile_Change);
    connect(m_statistics, &DocumentStatistics::documentCountChanged, m_wordCount,
            &WordCountStatus::statistics_Changed);
    connect(m_statistics, &DocumentStatistics::selectionCountChanged, m_wordCount,
            &WordCountStatus::statistics_Changed);

    // The writer's words are counted at each edit, from the document's counts, and the status
    // bar shows how far today's goal is.
    connect(editor, &QTextEdit::textChanged, m_tally,
            [this] { m_tally->txtFile_Change(*m_txtFile->document()); });
    connect(m_documents, &DocumentList::currentChanged, m_tally,
            [this] { m_tally->txtFile_Change(*m_txtFile->document()); });
    // Undo gives back the count each state it brings back had when it was recorded.
    connect(m_undo, &UndoSnapshot::recorded, m_tally, &WritingTally::undo_Recorded);
    connect(m_undo, &UndoSnapshot::undoStarts, m_tally, &WritingTally::undo_Starts);
    connect(m_undo, &UndoSnapshot::undoEnds, m_tally,
            [this] { m_tally->undo_Ends(*m_txtFile->document()); });
    connect(m_tally, &WritingTally::changed, m_goalStatus, &GoalStatus::tally_Changed);
    connect(m_goals, &GoalCommands::goalsChanged, this, &frmVellumo::saveGoals);
}

void frmVellumo::connectSpellingEvents()
{
    RichTextBox* editor = m_txtFile;

    // Spelling looks at the words in view: new text, and text scrolled or resized into view.
    connect(editor, &QTextEdit::textChanged, m_spelling, &SpellingCommands::txtFile_Change);
    connect(editor->verticalScrollBar(), &QScrollBar::valueChanged, m_spelling,
            &SpellingCommands::txtFile_Change);
    connect(editor->verticalScrollBar(), &QScrollBar::rangeChanged, m_spelling,
            &SpellingCommands::txtFile_Change);
    connect(m_spelling->tmrSpelling(), &QTimer::timeout, m_spelling,
            &SpellingCommands::tmrSpelling_Timer);
    connect(m_spelling->tmrChecking(), &QTimer::timeout, m_spelling,
            &SpellingCommands::tmrChecking_Timer);
    // The dictionaries are read and written on a worker: the check waits for them, and the
    // writer hears what became of the words added.
    connect(m_speller, &SpellChecker::ready, m_spelling, &SpellingCommands::speller_Ready);
    connect(m_spelling, &SpellingCommands::languageChosen, this, &frmVellumo::saveSpellingLanguage);
    // Synonyms come in the language spelling checks.
    connect(m_spelling, &SpellingCommands::dictionarySet, this,
            [this](const QString& name) { m_thesaurus->setLanguage(name); });
    connect(m_speller, &SpellChecker::personalNotKept, m_spelling,
            &SpellingCommands::speller_PersonalNotKept);
    connect(m_speller, &SpellChecker::personalTooLarge, m_spelling,
            &SpellingCommands::speller_PersonalTooLarge);
    // Each puts its entries at the top of the menu, so the spelling's come first.
    connect(editor, &RichTextBox::ContextMenu, m_synonyms, &ThesaurusCommands::txtFile_ContextMenu);
    connect(editor, &RichTextBox::ContextMenu, m_spelling, &SpellingCommands::txtFile_ContextMenu);
}

frmVellumo::~frmVellumo()
{
    delete m_about;
}

void frmVellumo::createControls()
{
    m_client = new QWidget(this);
    setCentralWidget(m_client);
    m_client->installEventFilter(this);
    // Files dropped on the toolbar or the list arrive here; the editor takes its own.
    setAcceptDrops(true);

    m_tbrVellumo = new QToolBar(m_client);
    m_tbrVellumo->setObjectName(QStringLiteral("tbrVellumo"));
    m_tbrVellumo->setAccessibleName(tr("Toolbar"));
    m_tbrVellumo->setMovable(false);
    m_tbrVellumo->setFloatable(false);
    m_tbrVellumo->setIconSize(QSize(16, 16));
    m_tbrVellumo->setGeometry(0, 0, 664, 24);

    m_txtFile = new RichTextBox(m_client);
    m_txtFile->setObjectName(QStringLiteral("txtFile"));
    m_txtFile->setAccessibleName(tr("Document text"));
    m_txtFile->setGeometry(-1, 24, 664, 385);

    m_cmbFiles = new QComboBox(m_client);
    m_cmbFiles->setObjectName(QStringLiteral("cmbFiles"));
    // Screen readers on Linux name a drop-down list by its current entry and read this after it.
    m_cmbFiles->setAccessibleName(tr("Open documents"));
    m_cmbFiles->setAccessibleDescription(tr("Open documents"));
    m_cmbFiles->setEditable(false);
    m_cmbFiles->setGeometry(0, 408, 662, m_cmbFiles->sizeHint().height());

    // At the bottom of the client area, under the list; the layout rule lays out the area
    // above it.
    m_sbrVellumo = new QStatusBar(m_client);
    m_sbrVellumo->setObjectName(QStringLiteral("sbrVellumo"));
    m_lblWordCount = new QLabel(m_sbrVellumo);
    m_lblWordCount->setObjectName(QStringLiteral("lblWordCount"));
    m_sbrVellumo->addWidget(m_lblWordCount);
    m_lblGoal = new QLabel(m_sbrVellumo);
    m_lblGoal->setObjectName(QStringLiteral("lblGoal"));
    m_sbrVellumo->addPermanentWidget(m_lblGoal);
    m_prgGoal = new QProgressBar(m_sbrVellumo);
    m_prgGoal->setObjectName(QStringLiteral("prgGoal"));
    m_prgGoal->setTextVisible(false);
    m_prgGoal->setMaximumSize(60, 10);
    m_sbrVellumo->addPermanentWidget(m_prgGoal);

    setTabOrder(m_cmbFiles, m_txtFile);
    setTabOrder(m_txtFile, m_tbrVellumo);

    // QTimer fires continuously at 0 ms, so the timer stays stopped until an interval is chosen.
    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    // A coarse timer may drift by 5%: half a second at ten seconds, noticeable to the writer.
    m_timer1->setTimerType(Qt::PreciseTimer);
}

std::unique_ptr<QSettings> frmVellumo::settings() const
{
    if (!m_services.settingsFile.isEmpty())
        return std::make_unique<QSettings>(m_services.settingsFile, QSettings::IniFormat);
    return std::make_unique<QSettings>(QStringLiteral("Quillmere"), QStringLiteral("Quillmere"));
}

void frmVellumo::Form_Load()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quillmere"));

    const auto store = settings();
    store->beginGroup(QLatin1String(settingsGroup));
    const WindowGeometry stored =
        WindowGeometry::fromSettings(store->value(QLatin1String(keyLeft)).toString(),
                                     store->value(QLatin1String(keyTop)).toString(),
                                     store->value(QLatin1String(keyWidth)).toString(),
                                     store->value(QLatin1String(keyHeight)).toString());
    const bool checkSpelling = store->value(QLatin1String(keyCheckSpelling), true).toBool();
    const QString language = store->value(QLatin1String(keySpellingLanguage)).toString();
    const bool showSeedText = store->value(QLatin1String(keyShowSeedText), true).toBool();
    loadView(*store);
    m_session->load(*store);
    store->endGroup();
    SeedLibrary library;
    library.load(*store);
    m_goalStatus->setGoals(WritingGoals::load(*store));
    m_seedLibrary->setLibrary(library);
    const QSize minimum = minimumOuterSize();
    const WindowGeometry usable =
        stored.usable(Twips::fromPixels(minimum.width()), Twips::fromPixels(minimum.height()));
    const QScreen* primary = QGuiApplication::primaryScreen();
    m_wantedOuter = WindowGeometry::ontoScreens(usable.toPixels(), screenRects(),
                                                primary ? primary->availableGeometry() : QRect());
    move(m_wantedOuter.topLeft());
    resize(m_setInner = m_wantedOuter.size());

    // A chosen dictionary since removed leaves the locale's in use.
    if (const SpellDictionary chosen = SpellDictionary::named(language, dictionaryFolders());
        !language.isEmpty() && chosen.isValid())
        m_spelling->setDictionary(chosen);
    m_spelling->setActive(checkSpelling);
    m_seedMarks->setShown(showSeedText);
    m_documents->startup();
    m_recovery->restore();
    m_statistics->tmrStatistics_Timer();
    m_tally->txtFile_Change(*m_txtFile->document());
}

// Room for the title bar, menu bar and frame, the toolbar, one line of text, the list and the
// status bar, and above the layout rule's guard, so the rule lays the window out.
QSize frmVellumo::minimumOuterSize() const
{
    const int height = int(Twips::toPixels(LayoutRule::defaultFrameHeight)) +
                       m_tbrVellumo->sizeHint().height() + textLineHeight() +
                       m_cmbFiles->sizeHint().height() + m_sbrVellumo->sizeHint().height();
    return QSize(200, qMax(height, int(Twips::toPixels(LayoutRule::minimumHeight)) + 1));
}

int frmVellumo::textLineHeight() const
{
    return m_txtFile->fontMetrics().lineSpacing() + 2 * m_txtFile->frameWidth();
}

// A window too short for the toolbar, a line of text, the list and the status bar does without
// the status bar, so the rest keeps the room the layout rule gives it.
int frmVellumo::fitStatusBar()
{
    const int height = m_sbrVellumo->sizeHint().height();
    const int needed =
        m_tbrVellumo->sizeHint().height() + textLineHeight() + m_cmbFiles->height() + height;
    m_sbrVellumo->setHidden(m_client->height() < needed);
    if (m_sbrVellumo->isHidden())
        return 0;
    m_sbrVellumo->setGeometry(0, m_client->height() - height, m_client->width(), height);
    return height;
}

// Full screen has a layout of its own: the layout rule is for the window with its controls.
void frmVellumo::Form_Resize()
{
    if (m_fullScreen->isOn()) {
        m_fullScreen->layOut();
        return;
    }
    const int above = m_client->height() - fitStatusBar();
    const QRect outer = frameGeometry();
    const auto twips = [](int pixels) { return Twips::fromPixels(pixels); };
    const LayoutRule r = LayoutRule::compute(
        twips(outer.width()), twips(outer.height()), twips(m_tbrVellumo->sizeHint().height()),
        twips(m_cmbFiles->height()), twips(outer.width() - m_client->width()),
        twips(outer.height() - above));
    const auto px = [](double t) { return int(Twips::toPixels(t)); };
    m_tbrVellumo->setGeometry(0, 0, m_client->width(), m_tbrVellumo->sizeHint().height());
    m_cmbFiles->resize(px(r.listWidth), m_cmbFiles->height());
    m_txtFile->resize(px(r.editorWidth), m_txtFile->height());
    if (!r.editorHeight)
        return;
    m_txtFile->setGeometry(m_txtFile->x(), m_tbrVellumo->height(), m_txtFile->width(),
                           px(*r.editorHeight));
    m_cmbFiles->move(m_cmbFiles->x(), px(*r.listTop));
}

void frmVellumo::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_firstShow)
        return;
    m_firstShow = false;
    m_fittingFrame = true;
    restoreOuterGeometry();
    m_cmbFiles->setFocus(Qt::OtherFocusReason);
}

void frmVellumo::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (m_fittingFrame)
        restoreOuterGeometry();
}

// The stored size is the outer one, frame included, while resize() sets the inner size, and the
// window manager reports the frame a little after the window appears: once it has, the window
// is fitted once, leaving alone what the writer has moved or resized meanwhile.
void frmVellumo::restoreOuterGeometry()
{
    const QSize frame = frameGeometry().size() - size();
    if (frame.isNull())
        return;
    m_fittingFrame = false;
    const QRect outer =
        WindowGeometry::settled(m_wantedOuter, m_setInner, frameGeometry(), geometry());
    if (outer.size() != frameGeometry().size())
        resize(m_setInner = outer.size() - frame);
    if (outer.topLeft() != pos())
        move(outer.topLeft());
}

bool frmVellumo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void frmVellumo::closeEvent(QCloseEvent* event)
{
    m_session->remember();
    if (!m_files->confirmClose()) {
        event->ignore();
        return;
    }
    m_recovery->cleanExit();
    Form_Unload();
    event->accept();
}

void frmVellumo::Form_Unload()
{
    // The window keeps the place and size it had before it covered the screen.
    const WindowGeometry now = WindowGeometry::fromPixels(
        m_fullScreen->isOn() ? m_fullScreen->normalOuter() : frameGeometry());
    const auto store = settings();
    store->beginGroup(QLatin1String(settingsGroup));
    store->setValue(QLatin1String(keyLeft), WindowGeometry::toSetting(now.left));
    store->setValue(QLatin1String(keyTop), WindowGeometry::toSetting(now.top));
    store->setValue(QLatin1String(keyWidth), WindowGeometry::toSetting(now.width));
    store->setValue(QLatin1String(keyHeight), WindowGeometry::toSetting(now.height));
    store->setValue(QLatin1String(keyShowSeedText), m_seedMarks->isShown());
    saveView(*store);
    m_session->save(*store);
    // Without a dictionary the entry says nothing of what the writer chose.
    if (m_menu.mnuCheckSpelling->isEnabled())
        store->setValue(QLatin1String(keyCheckSpelling), m_spelling->isActive());
    store->endGroup();
    store->sync();
    m_tally->tmrHistory_Timer();
    if (m_about)
        m_about->close();
    if (m_services.quit)
        m_services.quit();
}

void frmVellumo::loadView(const QSettings& store)
{
    m_focus->setUnit(store.value(QLatin1String(keyFocus), FocusMode::Off).toInt());
    m_typewriter->setOn(store.value(QLatin1String(keyTypewriter), false).toBool());
    m_theme->setTheme(store.value(QLatin1String(keyTheme), EditorTheme::Desktop).toInt());
}

void frmVellumo::saveView(QSettings& store) const
{
    store.setValue(QLatin1String(keyFocus), int(m_focus->unit()));
    store.setValue(QLatin1String(keyTypewriter), m_typewriter->isOn());
    store.setValue(QLatin1String(keyTheme), int(m_theme->theme()));
}

void frmVellumo::saveSeedLibrary()
{
    m_seedLibrary->library().save(*settings());
}

void frmVellumo::saveSpellingLanguage(const QString& name)
{
    settings()->setValue(QLatin1String(settingsGroup) + u'/' + QLatin1String(keySpellingLanguage),
                         name);
}

QStringList frmVellumo::dictionaryFolders() const
{
    return m_services.dictionaryDir.isEmpty() ? SpellDictionary::systemFolders()
                                              : QStringList{m_services.dictionaryDir};
}

void frmVellumo::saveGoals()
{
    m_goalStatus->goals().save(*settings());
}

void frmVellumo::openArguments(const QStringList& arguments)
{
    const QStringList files = FileArguments::fromCommandLine(arguments, QDir::currentPath());
    // Files named on the command line are what the writer came for, without the last session.
    if (files.isEmpty())
        m_session->reopen();
    else
        m_files->openAtStartup(files);
}

void frmVellumo::dragEnterEvent(QDragEnterEvent* event)
{
    if (!FileArguments::fromUrls(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void frmVellumo::dropEvent(QDropEvent* event)
{
    const QStringList files = FileArguments::fromUrls(event->mimeData()->urls());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    QMetaObject::invokeMethod(
        m_files, [this, files] { m_files->openFiles(files); }, Qt::QueuedConnection);
}

// The caption names the document the editor shows.
void frmVellumo::showCaption(const Document* document)
{
    if (document == &m_documents->current())
        setWindowTitle(DocumentList::captionFor(document->name()));
}

void frmVellumo::mnuExit_Click()
{
    close();
}

void frmVellumo::mnuAbout_Click()
{
    if (!m_about)
        m_about = new frmAbout;
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}
