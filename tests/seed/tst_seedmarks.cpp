#include "app/frmVellumo.h"
#include "dialogs/frmStatistics.h"
#include "documents/DocumentList.h"
#include "documents/DocumentStatistics.h"
#include "formats/base/TextProperties.h"
#include "formats/rtf/RtfDocumentCache.h"
#include "formats/rtf/RtfDocumentWriter.h"
#include "platform/RichTextBox.h"
#include "seed/SeedPrompter.h"
#include "support/TestEnvironment.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

namespace {

const QString seedText = QStringLiteral("alpha beta gamma delta epsilon zeta eta theta");

// The document's text with each character the seed mark covers in capitals.
QString marked(const RichTextBox* editor)
{
    QString shown;
    for (QTextBlock block = editor->document()->begin(); block.isValid(); block = block.next()) {
        if (block != editor->document()->begin())
            shown += QLatin1Char('\n');
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString text = it.fragment().text();
            shown += it.fragment().charFormat().hasProperty(TextProperties::SeedRun)
                         ? text.toUpper()
                         : text;
        }
    }
    return shown;
}

} // namespace

/// The mark on injected seed words: where it stays, where it goes, and what it is saved as.
class tst_SeedMarks : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void runIsMarkedAndTypingBesideItIsNot();
    void typingOrOvertypingInsideSplitsTheRun_data();
    void typingOrOvertypingInsideSplitsTheRun();
    void deletingAcrossTheBoundary();
    void undoAndRedoOfAnInjectionKeepTheMark();
    void pasteWithinKeepsMarksPlainTextTakesNone();
    void marksSurviveRtfAsTheSeedTextStyle();
    void keptRtfTakesTheStyleSheetWithTheFirstSeedText();
    void statusBarCountsKeptAndReworked();
    void paragraphBreaksInsideARun_data();
    void paragraphBreaksInsideARun();
    void enterInsideARunReworksIt_data();
    void enterInsideARunReworksIt();
    void seedFiguresSurviveSwitchAndReopen_data();
    void seedFiguresSurviveSwitchAndReopen();
    void showSeedTextIsRemembered();
    void rerollReplacesTheUntouchedRunInOneUndoStep();
    void rerollRefusedAfterAnEdit();

private:
    /// A window with a seed, showing "mine xx end" with "xx" selected.
    frmVellumo* windowWithSeed();
    /// A window showing "mine " + run + " end", the run injected over the placeholder.
    frmVellumo* windowWithRun();
    qint64 runLength(frmVellumo* w) const;
    /// What the status bar says of the seed: kept and reworked words, -1 without seed text.
    std::pair<int, int> seedCount(frmVellumo* w) const;
    /// The Statistics window's line on the document's seed words.
    QString seedFigures(frmVellumo* w) const;

    std::unique_ptr<TestEnvironment> m_env;
};

frmVellumo* tst_SeedMarks::windowWithSeed()
{
    frmVellumo* w = m_env->window();
    QFile file(m_env->path(QStringLiteral("seed.txt")));
    if (!file.open(QIODevice::WriteOnly) || file.write(seedText.toUtf8()) != seedText.size())
        qFatal("cannot write the seed");
    file.close();
    m_env->dialog.queueFileName(file.fileName());
    action(w, "mnuNewSeed")->trigger();
    RichTextBox* editor = txtFile(w);
    editor->setTextRTF(QStringLiteral("mine xx end"));
    undo(w)->changeundo();
    editor->setSelStart(5);
    editor->setSelLength(2);
    return w;
}

frmVellumo* tst_SeedMarks::windowWithRun()
{
    frmVellumo* w = windowWithSeed();
    RichTextBox* editor = txtFile(w);
    seed(w)->mnuInject_Click();
    undo(w)->changeundo();
    editor->SetFocus();
    return w;
}

qint64 tst_SeedMarks::runLength(frmVellumo* w) const
{
    return txtFile(w)->Text().size() - QStringLiteral("mine  end").size();
}

std::pair<int, int> tst_SeedMarks::seedCount(frmVellumo* w) const
{
    child<DocumentStatistics>(w)->tmrStatistics_Timer();
    static const QRegularExpression count(QStringLiteral("; seed: (\\d+) kept, (\\d+) reworked$"));
    const QRegularExpressionMatch match = count.match(lblWordCount(w)->text());
    return match.hasMatch() ? std::pair(match.captured(1).toInt(), match.captured(2).toInt())
                            : std::pair(-1, -1);
}

QString tst_SeedMarks::seedFigures(frmVellumo* w) const
{
    child<DocumentStatistics>(w)->tmrStatistics_Timer();
    action(w, "mnuStatistics")->trigger();
    return child<QLabel>(child<frmStatistics>(w), "lblSeed")->text();
}

void tst_SeedMarks::runIsMarkedAndTypingBesideItIsNot()
{
    frmVellumo* w = windowWithRun();
    RichTextBox* editor = txtFile(w);
    const QString run = editor->Text().mid(5, runLength(w));
    QCOMPARE(marked(editor), "mine " + run.toUpper() + " end");
    // Right after the run, where the editor would type in the run's own format.
    editor->setSelStart(5 + run.size());
    QTest::keyClicks(editor, "ok");
    QCOMPARE(marked(editor), "mine " + run.toUpper() + "ok end");
}

void tst_SeedMarks::typingOrOvertypingInsideSplitsTheRun_data()
{
    QTest::addColumn<int>("selected");
    QTest::newRow("typed inside") << 0;
    QTest::newRow("typed over two characters") << 2;
}

void tst_SeedMarks::typingOrOvertypingInsideSplitsTheRun()
{
    QFETCH(int, selected);
    frmVellumo* w = windowWithRun();
    RichTextBox* editor = txtFile(w);
    const QString run = editor->Text().mid(5, runLength(w));
    editor->setSelStart(7);
    editor->setSelLength(selected);
    QTest::keyClick(editor, Qt::Key_Q);
    const QString rest = run.mid(2 + selected);
    QCOMPARE(marked(editor), "mine " + run.left(2).toUpper() + "q" + rest.toUpper() + " end");
}

void tst_SeedMarks::deletingAcrossTheBoundary()
{
    frmVellumo* w = windowWithRun();
    RichTextBox* editor = txtFile(w);
    const QString run = editor->Text().mid(5, runLength(w));
    editor->setSelStart(2);
    editor->setSelLength(6);
    QTest::keyClick(editor, Qt::Key_Delete);
    QCOMPARE(marked(editor), "mi" + run.mid(3).toUpper() + " end");
    // Typed where the deletion met the run: the writer's own.
    QTest::keyClick(editor, Qt::Key_Z);
    QCOMPARE(marked(editor), "miz" + run.mid(3).toUpper() + " end");
}

void tst_SeedMarks::undoAndRedoOfAnInjectionKeepTheMark()
{
    frmVellumo* w = windowWithRun();
    RichTextBox* editor = txtFile(w);
    const QString withRun = marked(editor);
    action(w, "mnuUndo")->trigger();
    QCOMPARE(marked(editor), "mine xx end");
    action(w, "mnuUndo")->trigger();
    QCOMPARE(marked(editor), withRun);
    // The same when the history no longer leads there and the state is read from its RTF.
    editor->document()->clearUndoRedoStacks();
    action(w, "mnuUndo")->trigger();
    action(w, "mnuUndo")->trigger();
    QCOMPARE(marked(editor), withRun);
}

void tst_SeedMarks::pasteWithinKeepsMarksPlainTextTakesNone()
{
    frmVellumo* w = windowWithRun();
    RichTextBox* editor = txtFile(w);
    const QString run = editor->Text().mid(5, runLength(w));
    editor->setSelStart(5);
    editor->setSelLength(5);
    action(w, "mnuCopy")->trigger();
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    QVERIFY(!copied->html().contains(QLatin1String("background")));
    // Over "mine" at the start: the copied words come with their mark.
    editor->setSelStart(0);
    editor->setSelLength(4);
    action(w, "mnuPaste")->trigger();
    QCOMPARE(marked(editor), run.left(5).toUpper() + " " + run.toUpper() + " end");
    // Plain text from another program, over the run's first word, is the writer's own.
    QGuiApplication::clipboard()->setText(QStringLiteral("plain"));
    editor->setSelStart(6);
    editor->setSelLength(5);
    action(w, "mnuPaste")->trigger();
    QCOMPARE(marked(editor), run.left(5).toUpper() + " plain" + run.mid(5).toUpper() + " end");
}

void tst_SeedMarks::marksSurviveRtfAsTheSeedTextStyle()
{
    frmVellumo* w = windowWithRun();
    RichTextBox* editor = txtFile(w);
    editor->setSelStart(7);
    QTest::keyClick(editor, Qt::Key_Q);
    const QString before = marked(editor);
    const QString rtf = editor->TextRTF();
    QVERIFY2(rtf.contains(QLatin1String("{\\stylesheet{\\*\\cs1\\additive Seed Text;}}")),
             qPrintable(rtf));
    QCOMPARE(rtf.count(QLatin1String("{\\cs1\\qmseedrun")), 2);
    editor->setTextRTF(rtf);
    QCOMPARE(marked(editor), before);
    // Without seed text there is no style sheet.
    editor->setTextRTF(QStringLiteral("plain"));
    QVERIFY(!editor->TextRTF().contains(QLatin1String("stylesheet")));
    // A style of the same name written by another program marks its text too; other character
    // styles mark nothing.
    editor->setTextRTF(
        QStringLiteral("{\\rtf1{\\stylesheet{\\*\\cs15\\b Strong;}{\\*\\cs16\\additive Seed Text;}}"
                       "a {\\cs16 b} {\\cs15 c}}"));
    QCOMPARE(marked(editor), "a B c");
}

// The RTF kept up to date paragraph by paragraph is what a whole write gives, header and all.
void tst_SeedMarks::keptRtfTakesTheStyleSheetWithTheFirstSeedText()
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("one\ntwo\nthree"));
    RtfDocumentCache& kept = RtfDocumentCache::of(document);
    QVERIFY(!kept.rtf().contains("stylesheet"));
    QTextCharFormat mark;
    mark.setProperty(TextProperties::SeedRun, TextProperties::newSeedRun());
    QTextCursor cursor(document.findBlockByNumber(1));
    cursor.insertText(QStringLiteral("seed "), mark);
    QCOMPARE(kept.rtf(), RtfDocumentWriter(document).write());
    QVERIFY(kept.rtf().contains("stylesheet"));
    cursor.insertText(QStringLiteral("more"), mark);
    QCOMPARE(kept.rtf(), RtfDocumentWriter(document).write());
}

void tst_SeedMarks::statusBarCountsKeptAndReworked()
{
    frmVellumo* w = windowWithRun();
    RichTextBox* editor = txtFile(w);
    auto* statistics = child<DocumentStatistics>(w);
    statistics->tmrStatistics_Timer();
    const qint64 words = editor->Text().mid(5, runLength(w)).split(u' ', Qt::SkipEmptyParts).size();
    QVERIFY(
        lblWordCount(w)->text().endsWith(QStringLiteral("; seed: %1 kept, 0 reworked").arg(words)));
    // Typed at the run's end: still as written.
    editor->setSelStart(5 + runLength(w));
    QTest::keyClick(editor, Qt::Key_Q);
    statistics->tmrStatistics_Timer();
    QVERIFY(
        lblWordCount(w)->text().endsWith(QStringLiteral("; seed: %1 kept, 0 reworked").arg(words)));
    // Another run written into it leaves it as it was written.
    editor->setSelStart(7);
    seed(w)->injectAtCaret();
    QVERIFY(seedCount(w).first > words);
    QCOMPARE(seedCount(w).second, 0);
    // A letter deleted inside the first run: it is reworked, the other one kept.
    editor->setSelStart(6);
    QTest::keyClick(editor, Qt::Key_Delete);
    QVERIFY(seedCount(w).first > 0);
    QVERIFY(seedCount(w).second >= words);
    // Saved and read again, a run the writer edited is still the one run, reworked.
    const auto counted = seedCount(w);
    editor->setTextRTF(editor->TextRTF());
    QCOMPARE(seedCount(w), counted);
    editor->setTextRTF(QStringLiteral("plain"));
    statistics->tmrStatistics_Timer();
    QVERIFY(!lblWordCount(w)->text().contains(QLatin1String("seed")));
}

void tst_SeedMarks::paragraphBreaksInsideARun_data()
{
    QTest::addColumn<qint64>("writtenWords");
    QTest::addColumn<qint64>("writtenBreaks");
    QTest::addColumn<qint64>("reworked");
    // One run of two words, one in each of two paragraphs, joined at the break.
    QTest::newRow("written with the break") << qint64(2) << qint64(1) << qint64(0);
    QTest::newRow("broken by the writer") << qint64(2) << qint64(0) << qint64(2);
    QTest::newRow("from a file that does not say") << qint64(0) << qint64(0) << qint64(0);
}

void tst_SeedMarks::paragraphBreaksInsideARun()
{
    QFETCH(qint64, writtenWords);
    QFETCH(qint64, writtenBreaks);
    const SeedCount count = SeedCount::of({{7, 8, writtenWords, writtenBreaks, 4, 1, false, true},
                                           {7, 8, writtenWords, writtenBreaks, 4, 1, true, false}});
    QTEST(count.reworked, "reworked");
    QCOMPARE(count.kept + count.reworked, 2);
    QCOMPARE(count.written, 2);
}

void tst_SeedMarks::enterInsideARunReworksIt_data()
{
    QTest::addColumn<bool>("inside");
    QTest::newRow("inside") << true;
    QTest::newRow("at its end") << false;
}

void tst_SeedMarks::enterInsideARunReworksIt()
{
    QFETCH(bool, inside);
    frmVellumo* w = windowWithRun();
    RichTextBox* editor = txtFile(w);
    const int words = seedCount(w).first;
    editor->setSelStart(inside ? 7 : 5 + runLength(w));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(editor->document()->blockCount(), 2);
    QCOMPARE(seedCount(w), inside ? std::pair(0, words + 1) : std::pair(words, 0));
    // Saved and read again, as the writer left it.
    editor->setTextRTF(editor->TextRTF());
    QCOMPARE(seedCount(w), inside ? std::pair(0, words + 1) : std::pair(words, 0));
}

void tst_SeedMarks::seedFiguresSurviveSwitchAndReopen_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("RTF") << "run.doc";
    QTest::newRow("OpenDocument") << "run.odt";
    QTest::newRow("Word") << "run.docx";
}

// The seed words written stay known when the document is read again: shown after two others,
// and saved and opened in the next session.
void tst_SeedMarks::seedFiguresSurviveSwitchAndReopen()
{
    QFETCH(QString, fileName);
    frmVellumo* w = windowWithRun();
    RichTextBox* editor = txtFile(w);
    const int words = seedCount(w).first;
    editor->setSelStart(6);
    QTest::keyClick(editor, Qt::Key_Delete);
    const QString figures = seedFigures(w);
    QCOMPARE(figures, QStringLiteral("This document's seed words: %1 written, 0 kept verbatim, %1 "
                                     "reworked, 0 deleted")
                          .arg(words));
    action(w, "mnuNew")->trigger();
    action(w, "mnuNew")->trigger();
    child<DocumentList>(w)->selectEntry(0);
    QCOMPARE(seedFigures(w), figures);

    m_env->dialog.queueFileName(m_env->path(fileName));
    action(w, "mnuSave")->trigger();
    QVERIFY(QFile::exists(m_env->path(fileName)));
    m_env->closeWindow();
    w = m_env->window();
    m_env->dialog.queueFileName(m_env->path(fileName));
    action(w, "mnuOpen")->trigger();
    QVERIFY(txtFile(w)->Text().startsWith(QLatin1String("mine ")));
    QCOMPARE(seedFigures(w), figures);
}

void tst_SeedMarks::showSeedTextIsRemembered()
{
    frmVellumo* w = windowWithRun();
    QVERIFY(action(w, "mnuShowSeedText")->isChecked());
    const QString before = marked(txtFile(w));
    action(w, "mnuShowSeedText")->trigger();
    QVERIFY(!action(w, "mnuShowSeedText")->isChecked());
    QCOMPARE(marked(txtFile(w)), before);
    m_env->messages.queueAnswer(MessageService::Button::Discard);
    m_env->closeWindow();
    w = m_env->window();
    QVERIFY(!action(w, "mnuShowSeedText")->isChecked());
    action(w, "mnuShowSeedText")->trigger();
    QVERIFY(action(w, "mnuShowSeedText")->isChecked());
}

void tst_SeedMarks::rerollReplacesTheUntouchedRunInOneUndoStep()
{
    frmVellumo* w = windowWithSeed();
    RichTextBox* editor = txtFile(w);
    QVERIFY(!action(w, "mnuReroll")->isEnabled());
    action(w, "mnuInject")->trigger();
    const QString first = marked(editor);
    QVERIFY(action(w, "mnuReroll")->isEnabled());
    // Draws until the run differs, each time in the same place.
    QString rerolled = first;
    for (int tries = 0; rerolled == first && tries < 20; ++tries) {
        action(w, "mnuReroll")->trigger();
        rerolled = marked(editor);
        QVERIFY(rerolled.startsWith(QLatin1String("mine ")));
        QVERIFY(rerolled.endsWith(QLatin1String(" end")));
        QCOMPARE(rerolled.mid(5).chopped(4), rerolled.mid(5).chopped(4).toUpper());
    }
    QVERIFY(rerolled != first);
    QVERIFY(action(w, "mnuReroll")->isEnabled());
    action(w, "mnuUndo")->trigger();
    QCOMPARE(marked(editor).size() > 9, true);
    QVERIFY(marked(editor) != rerolled);
    action(w, "mnuUndo")->trigger();
    QCOMPARE(marked(editor), rerolled);
}

void tst_SeedMarks::rerollRefusedAfterAnEdit()
{
    frmVellumo* w = windowWithRun();
    RichTextBox* editor = txtFile(w);
    QVERIFY(action(w, "mnuReroll")->isEnabled());
    editor->setSelStart(1);
    QTest::keyClick(editor, Qt::Key_Q);
    QVERIFY(!action(w, "mnuReroll")->isEnabled());
    const QString edited = marked(editor);
    QTest::keyClick(editor, Qt::Key_F8, Qt::ControlModifier);
    QCOMPARE(marked(editor), edited);
    QVERIFY(m_env->messages.boxes.isEmpty());
}

QTEST_MAIN(tst_SeedMarks)
#include "tst_seedmarks.moc"
