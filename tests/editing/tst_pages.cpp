#include "EditingWindow.h"
#include "formats/DocumentFormats.h"
#include "formats/PageSetup.h"

#include <QTextBlock>

namespace {

bool startsPage(const QTextBlock& block)
{
    return block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
}

} // namespace

/// Page setup, page breaks and line spacing through the real window's menu.
class tst_Pages : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void pageBreakStartsParagraphAndUndoes();
    void lineSpacingSetsSelectedParagraphs();
    void pageSetupChangesThePageSaved();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void tst_Pages::pageBreakStartsParagraphAndUndoes()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    select(w, 3, 0);
    QTest::keyClick(txtFile(w), Qt::Key_Return, Qt::ControlModifier);
    const auto blocks = [w] { return txtFile(w)->document(); };
    QCOMPARE(blocks()->blockCount(), 2);
    QVERIFY(!startsPage(blocks()->firstBlock()));
    QVERIFY(startsPage(blocks()->lastBlock()));
    QCOMPARE(blocks()->lastBlock().text(), QStringLiteral(" two"));

    action(w, "mnuUndo")->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("one two"));
    QVERIFY(!startsPage(blocks()->firstBlock()));

    // Undo again brings the break back; a paragraph typed after it goes on on its page.
    action(w, "mnuUndo")->trigger();
    QVERIFY(startsPage(blocks()->lastBlock()));
    select(w, 8, 0);
    type(txtFile(w), "\nthree");
    QCOMPARE(blocks()->blockCount(), 3);
    QVERIFY(startsPage(blocks()->lastBlock().previous()));
    QVERIFY(!startsPage(blocks()->lastBlock()));
}

void tst_Pages::lineSpacingSetsSelectedParagraphs()
{
    frmVellumo* w = editingWindow(*m_env);
    QVERIFY(action(w, "mnuSingleSpacing")->isChecked());
    type(txtFile(w), "one\ntwo\nthree");
    select(w, 2, 5);
    action(w, "mnuDoubleSpacing")->trigger();
    const QTextDocument* document = txtFile(w)->document();
    for (const QTextBlock& block : {document->firstBlock(), document->firstBlock().next()}) {
        QCOMPARE(block.blockFormat().lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
        QCOMPARE(block.blockFormat().lineHeight(), 200.0);
    }
    QCOMPARE(document->lastBlock().blockFormat().lineHeightType(),
             int(QTextBlockFormat::SingleHeight));
    QVERIFY(action(w, "mnuDoubleSpacing")->isChecked());
    QVERIFY(!action(w, "mnuSingleSpacing")->isChecked());

    select(w, 10, 0);
    QVERIFY(action(w, "mnuSingleSpacing")->isChecked());
    QVERIFY(!action(w, "mnuDoubleSpacing")->isChecked());
    action(w, "mnuUndo")->trigger();
    QCOMPARE(txtFile(w)->document()->firstBlock().blockFormat().lineHeightType(),
             int(QTextBlockFormat::SingleHeight));
}

void tst_Pages::pageSetupChangesThePageSaved()
{
    frmVellumo* w = editingWindow(*m_env);
    const DocumentList* list = documents(w);
    QVERIFY(!list->isModified(list->store().curDoc()));
    const PageSetup offered = PageSetup::of(*txtFile(w)->document());
    QVERIFY(PageSetup::isKeptIn(*txtFile(w)->document()));
    const PageSetup a5{11906, 8391, 567, 850, 1134, 1417, true};
    m_env->dialog.queuePage(a5);
    action(w, "mnuPageSetup")->trigger();
    QCOMPARE(m_env->dialog.shown.last().kind, QStringLiteral("page setup"));
    QCOMPARE(PageSetup::of(*txtFile(w)->document()), a5);
    QVERIFY(list->isModified(list->store().curDoc()));

    const QString path = m_env->path(QStringLiteral("a5.rtf"));
    m_env->dialog.queueFileName(path);
    action(w, "mnuSave")->trigger();
    QCOMPARE(PageSetup::of(*DocumentFormats::readFile(path).document), a5);

    action(w, "mnuUndo")->trigger();
    QCOMPARE(PageSetup::of(*txtFile(w)->document()), offered);
}

QTEST_MAIN(tst_Pages)
#include "tst_pages.moc"
