#pragma once

#include "app/AppServices.h"
#include "app/MainMenu.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QComboBox;
class QLabel;
class QSettings;
class BusyIndicator;
class QStatusBar;
class QTimer;
class QToolBar;
class RichTextBox;
class frmAbout;
class Document;
class DocumentList;
class FileCommands;
class Recovery;
class LastSession;
class UndoSnapshot;
class SeedPrompter;
class EditCommands;
class FormatCommands;
class PageCommands;
class ToolbarState;
class SearchCommands;
class DocumentStatistics;
class WordCountStatus;
class EditorMarks;
class SpellChecker;
class SpellingCommands;
class Thesaurus;
class ThesaurusCommands;
class InjectionMark;
class SeedMarks;
class SeedReroll;
class SeedLibraryCommands;
class PausePrompter;
class FullScreen;
class FocusMode;
class TypewriterScrolling;
class EditorTheme;
class QProgressBar;
class WritingHistory;
class WritingTally;
class GoalStatus;
class GoalCommands;

/// The main window: it builds the controls and the menu bar, lays them out, creates each
/// subsystem with what it works on, and connects every command to its handler.
class frmVellumo : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmVellumo(const AppServices& services);
    ~frmVellumo() override;

    /// Opens the files a command line names, as Open does, or without any the last session's;
    /// arguments start with the program.
    void openArguments(const QStringList& arguments);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Resize();
    void mnuExit_Click();
    void mnuAbout_Click();
    void showCaption(const Document* document);
    void saveSeedLibrary();
    void saveSpellingLanguage(const QString& name);
    /// Where spelling dictionaries are looked for.
    QStringList dictionaryFolders() const;
    void saveGoals();
    void createControls();
    void createSubsystems();
    void createSpelling();
    void connectCommands();
    void connectLaterMenus();
    void connectEvents();
    void connectWritingEvents();
    void connectSpellingEvents();
    void Form_Load();
    void Form_Unload();
    void loadView(const QSettings& store);
    void saveView(QSettings& store) const;
    void restoreOuterGeometry();
    QSize minimumOuterSize() const;
    int textLineHeight() const;
    /// Shows the status bar at the bottom when there is room and returns the height it takes.
    int fitStatusBar();
    std::unique_ptr<QSettings> settings() const;

    AppServices m_services;
    MainMenu m_menu;
    QWidget* m_client = nullptr;
    QToolBar* m_tbrVellumo = nullptr;
    RichTextBox* m_txtFile = nullptr;
    QComboBox* m_cmbFiles = nullptr;
    QTimer* m_timer1 = nullptr;
    QStatusBar* m_sbrVellumo = nullptr;
    QLabel* m_lblWordCount = nullptr;
    QLabel* m_lblGoal = nullptr;
    QProgressBar* m_prgGoal = nullptr;
    QPointer<frmAbout> m_about;
    DocumentList* m_documents = nullptr;
    BusyIndicator* m_busy = nullptr;
    FileCommands* m_files = nullptr;
    Recovery* m_recovery = nullptr;
    LastSession* m_session = nullptr;
    UndoSnapshot* m_undo = nullptr;
    SeedPrompter* m_seed = nullptr;
    EditCommands* m_edit = nullptr;
    FormatCommands* m_format = nullptr;
    PageCommands* m_page = nullptr;
    ToolbarState* m_toolbar = nullptr;
    SearchCommands* m_search = nullptr;
    DocumentStatistics* m_statistics = nullptr;
    WordCountStatus* m_wordCount = nullptr;
    EditorMarks* m_marks = nullptr;
    SpellChecker* m_speller = nullptr;
    SpellingCommands* m_spelling = nullptr;
    std::unique_ptr<Thesaurus> m_thesaurus;
    ThesaurusCommands* m_synonyms = nullptr;
    InjectionMark* m_injectionMark = nullptr;
    SeedMarks* m_seedMarks = nullptr;
    SeedReroll* m_reroll = nullptr;
    SeedLibraryCommands* m_seedLibrary = nullptr;
    PausePrompter* m_pause = nullptr;
    FullScreen* m_fullScreen = nullptr;
    FocusMode* m_focus = nullptr;
    TypewriterScrolling* m_typewriter = nullptr;
    EditorTheme* m_theme = nullptr;
    std::unique_ptr<WritingHistory> m_history;
    WritingTally* m_tally = nullptr;
    GoalStatus* m_goalStatus = nullptr;
    GoalCommands* m_goals = nullptr;
    QRect m_wantedOuter;
    /// The inner size last given, to tell it from one the writer chose.
    QSize m_setInner;
    bool m_firstShow = true;
    bool m_fittingFrame = false;
};
