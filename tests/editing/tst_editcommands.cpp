#include "EditingWindow.h"
#include "app/frmVellumo.h"
#include "formats/HtmlNesting.h"
#include "platform/RichTextBox.h"
#include "support/TestEnvironment.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QTextTable>
#include <QTimer>

class tst_EditCommands : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void copyPutsTheSelectionAsAnRtfDocumentInPlainText();
    void boldWordCopiedAndPastedComesBackBold();
    void textFromOutsidePastesAsPlainText_data();
    void textFromOutsidePastesAsPlainText();
    void copyOffersOtherProgramsRtfAndHtml();
    void formattedTextFromOutsidePastesFormatted_data();
    void formattedTextFromOutsidePastesFormatted();
    void htmlNestedBeyondAnyPageLosesOnlyTheDeepTags_data();
    void htmlNestedBeyondAnyPageLosesOnlyTheDeepTags();
    void pastedTablesStayTables_data();
    void pastedTablesStayTables();
    void pasteWithoutTextRemovesSelectionAndUndoBringsItBack();
    void copyLeavesDocumentAndUndoStateAlone();
    void cutRecordsTheStateBeforeTheCut();
    void deleteRemovesTheSelectionAsOneChange();
    void selectAll_data();
    void selectAll();
    void delKeyWithAndWithoutSelection();
    void menuKeysWinWhileEditorHasFocus_data();
    void menuKeysWinWhileEditorHasFocus();
    void disabledCommandsLeaveTheirKeysToTheEditor();
    void rightClickMenuOffersTheEditCommands();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void tst_EditCommands::copyPutsTheSelectionAsAnRtfDocumentInPlainText()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    auto* other = new QMimeData;
    other->setHtml("<b>from elsewhere</b>");
    QGuiApplication::clipboard()->setMimeData(other);
    select(w, 4, 3);
    const QString before = txtFile(w)->TextRTF();

    QVERIFY(action(w, "mnuCopy")->isEnabled());
    action(w, "mnuCopy")->trigger();

    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(copied->formats(), (QStringList{"text/plain", "text/rtf", "text/html"}));
    const QString text = copied->text();
    QVERIFY2(text.startsWith("{\\rtf1") && text.trimmed().endsWith('}'), qPrintable(text));
    QVERIFY(text.contains("two"));
    QVERIFY(!text.contains("one"));
    QCOMPARE(txtFile(w)->TextRTF(), before);
    QCOMPARE(txtFile(w)->SelLength(), 3);
}

void tst_EditCommands::boldWordCopiedAndPastedComesBackBold()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    select(w, 4, 3);
    action(w, "mnuBold")->trigger();
    txtFile(w)->setSelStart(7);
    // Bold off again with nothing selected, so only the clipboard can make the paste bold.
    action(w, "mnuBold")->trigger();
    select(w, 4, 3);
    action(w, "mnuCopy")->trigger();

    txtFile(w)->setSelStart(0);
    action(w, "mnuPaste")->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("twoone two"));
    QVERIFY(boldAt(w, 0));
    QVERIFY(boldAt(w, 2));
    QVERIFY(!boldAt(w, 3));
    QVERIFY(boldAt(w, 9));
    QCOMPARE(txtFile(w)->SelStart(), 3);
}

void tst_EditCommands::textFromOutsidePastesAsPlainText_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("expected");

    QTest::newRow("nominal: words") << "red fox"
                                    << "ared foxb";
    QTest::newRow("nominal: markup characters are text") << "{\\b x}"
                                                         << "a{\\b x}b";
    QTest::newRow("nominal: line breaks of other systems") << "one\r\ntwo\rthree"
                                                           << "aone\ntwo\nthreeb";
    QTest::newRow("robustness: html elsewhere is still plain text") << "<b>x</b>"
                                                                    << "a<b>x</b>b";
}

void tst_EditCommands::textFromOutsidePastesAsPlainText()
{
    QFETCH(QString, clipboard);
    QFETCH(QString, expected);
    frmVellumo* w = editingWindow(*m_env, "ab");
    QGuiApplication::clipboard()->setText(clipboard);
    txtFile(w)->setSelStart(1);

    action(w, "mnuPaste")->trigger();
    QCOMPARE(txtFile(w)->Text(), expected);
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY(!boldAt(w, i));
    QCOMPARE(txtFile(w)->SelStart(), expected.size() - 1);
}

void tst_EditCommands::copyOffersOtherProgramsRtfAndHtml()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    select(w, 4, 3);
    action(w, "mnuBold")->trigger();
    action(w, "mnuCopy")->trigger();

    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(QString::fromLatin1(copied->data("text/rtf")), copied->text());
    // What a browser or mail program reads back from the HTML: the word, and in bold.
    QTextDocument html;
    html.setHtml(copied->html());
    QCOMPARE(html.toPlainText(), QStringLiteral("two"));
    QTextCursor inside(&html);
    inside.setPosition(2);
    QCOMPARE(inside.charFormat().fontWeight(), int(QFont::Bold));
}

void tst_EditCommands::formattedTextFromOutsidePastesFormatted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("rtfType");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("format");

    const QByteArray italicRtf = "{\\rtf1\\ansi{\\i italic}}";
    QTest::newRow("nominal: markup in the plain text comes first")
        << "{\\rtf1\\ansi{\\b bold}}" << italicRtf << "text/rtf"
        << "<u>underlined</u>"
        << "abold"
        << "b";
    QTest::newRow("nominal: RTF on offer beside plain words") << "italic" << italicRtf << "text/rtf"
                                                              << "<u>underlined</u>"
                                                              << "aitalic"
                                                              << "i";
    QTest::newRow("nominal: RTF alone") << "" << italicRtf << "text/rtf"
                                        << ""
                                        << "aitalic"
                                        << "i";
    QTest::newRow("nominal: RTF alone as application/rtf") << "" << italicRtf << "application/rtf"
                                                           << ""
                                                           << "aitalic"
                                                           << "i";
    QTest::newRow("nominal: RTF alone as text/richtext") << "" << italicRtf << "text/richtext"
                                                         << ""
                                                         << "aitalic"
                                                         << "i";
    QTest::newRow("nominal: HTML when there is no RTF")
        << "underlined" << QByteArray() << "text/rtf"
        << "<p><u>underlined</u></p>"
        << "aunderlined"
        << "u";
    QTest::newRow("robustness: RTF that is not RTF gives way to HTML")
        << "underlined" << QByteArray("plain words") << "text/rtf"
        << "<u>underlined</u>"
        << "aunderlined"
        << "u";
    QTest::newRow("robustness: plain words alone stay plain")
        << "plain" << QByteArray() << "text/rtf"
        << ""
        << "aplain"
        << "";
}

// Other word processors and browsers offer their selection as RTF or HTML beside plain words.
void tst_EditCommands::formattedTextFromOutsidePastesFormatted()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, rtf);
    QFETCH(QString, rtfType);
    QFETCH(QString, html);
    QFETCH(QString, expected);
    QFETCH(QString, format);
    frmVellumo* w = editingWindow(*m_env, "ab");
    auto* offered = new QMimeData;
    if (!text.isEmpty())
        offered->setText(text);
    if (!rtf.isEmpty())
        offered->setData(rtfType, rtf);
    if (!html.isEmpty())
        offered->setHtml(html);
    QGuiApplication::clipboard()->setMimeData(offered);
    select(w, 1, 1);

    action(w, "mnuPaste")->trigger();
    QCOMPARE(txtFile(w)->Text(), expected);
    const QTextCharFormat pasted = formatAt(w, 2);
    QCOMPARE(pasted.fontWeight() == QFont::Bold, format == "b");
    QCOMPARE(pasted.fontItalic(), format == "i");
    QCOMPARE(pasted.fontUnderline(), format == "u");
    // Pasted through the one paste path: Undo gives back the selection it replaced.
    action(w, "mnuUndo")->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("ab"));
}

void tst_EditCommands::htmlNestedBeyondAnyPageLosesOnlyTheDeepTags_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<bool>("underlined");

    const int depth = HtmlNesting::saneDepth;
    QTest::newRow("nominal: formatting deeper than any page is left out")
        << "<p><b>" + QString("<span>").repeated(depth) + "<u>deep</u>" +
               QString("</span>").repeated(depth) + " end</b></p>"
        << false;
    QTest::newRow("nominal: paragraphs left open are not nesting")
        << "<b>" + QString("<p>x").repeated(depth) + "<p><u>deep</u> end</b>" << true;
}

// A browser's page nests a few dozen levels; what goes further keeps its words, and the
// formatting of the levels above, as the RTF reader keeps them.
void tst_EditCommands::htmlNestedBeyondAnyPageLosesOnlyTheDeepTags()
{
    QFETCH(QString, html);
    QFETCH(bool, underlined);
    frmVellumo* w = editingWindow(*m_env, "ab");
    auto* offered = new QMimeData;
    offered->setHtml(html);
    QGuiApplication::clipboard()->setMimeData(offered);
    select(w, 0, 2);

    action(w, "mnuPaste")->trigger();
    const QString text = txtFile(w)->Text();
    QVERIFY2(text.endsWith("deep end"), qPrintable(text.right(20)));
    const int deep = int(text.size()) - 7;
    QVERIFY(boldAt(w, deep));
    QCOMPARE(formatAt(w, deep).fontUnderline(), underlined);
}

void tst_EditCommands::pastedTablesStayTables_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("bordered");

    QTest::newRow("nominal: an HTML table gets a border")
        << "text/html"
        << QByteArray("<p>before</p><table><tr><td>cell one</td><td>cell two</td></tr></table>")
        << true;
    QTest::newRow("nominal: an RTF table keeps having none")
        << "text/rtf"
        << QByteArray("{\\rtf1\\ansi\\trowd\\cellx1000\\cellx2000\\intbl cell one\\cell "
                      "cell two\\cell\\row}")
        << false;
}

// Cells keep their places, nothing is told as lost, and a table from a page gets a border.
void tst_EditCommands::pastedTablesStayTables()
{
    QFETCH(QString, type);
    QFETCH(QByteArray, data);
    QFETCH(bool, bordered);
    frmVellumo* w = editingWindow(*m_env, "ab");
    auto* offered = new QMimeData;
    offered->setData(type, data);
    QGuiApplication::clipboard()->setMimeData(offered);

    action(w, "mnuPaste")->trigger();
    const QTextCursor cursor = txtFile(w)->document()->find("cell two");
    const QTextTable* table = cursor.currentTable();
    QVERIFY(table);
    QCOMPARE(table->columns(), 2);
    QCOMPARE(table->cellAt(cursor).column(), 1);
    QCOMPARE(table->format().border() > 0, bordered);
    QCOMPARE(m_env->messages.boxes.size(), 0);
}

void tst_EditCommands::pasteWithoutTextRemovesSelectionAndUndoBringsItBack()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(picture);
    QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
    select(w, 4, 3);

    action(w, "mnuPaste")->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("one "));
    action(w, "mnuUndo")->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("one two"));
}

void tst_EditCommands::copyLeavesDocumentAndUndoStateAlone()
{
    frmVellumo* w = editingWindow(*m_env, "ab");
    select(w, 1, 1);
    action(w, "mnuCopy")->trigger();
    // Copy followed by Undo acts as Undo alone: back to the state before the last key.
    action(w, "mnuUndo")->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("a"));
}

void tst_EditCommands::cutRecordsTheStateBeforeTheCut()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    select(w, 4, 3);
    const QString markup = txtFile(w)->SelRTF();

    action(w, "mnuCut")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), markup);
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("one "));
    QCOMPARE(txtFile(w)->SelLength(), 0);
    QVERIFY(!action(w, "mnuCut")->isEnabled());

    action(w, "mnuUndo")->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("one two"));
    action(w, "mnuUndo")->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("one "));
}

void tst_EditCommands::deleteRemovesTheSelectionAsOneChange()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    QGuiApplication::clipboard()->setText("kept");
    select(w, 0, 4);

    action(w, "mnuDelete")->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("two"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    action(w, "mnuUndo")->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("one two"));
}

void tst_EditCommands::selectAll_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("length");

    QTest::newRow("nominal: one line") << "one two" << 7;
    QTest::newRow("nominal: a paragraph break counts as one") << "ab\ncd" << 5;
    QTest::newRow("robustness: empty document") << "" << 0;
}

void tst_EditCommands::selectAll()
{
    QFETCH(QString, typed);
    QFETCH(int, length);
    frmVellumo* w = editingWindow(*m_env, typed);

    action(w, "mnuSelectall")->trigger();
    QCOMPARE(txtFile(w)->SelStart(), 0);
    QCOMPARE(txtFile(w)->SelLength(), length);
    QCOMPARE(action(w, "mnuCut")->isEnabled(), length > 0);
    QCOMPARE(action(w, "mnuDelete")->isEnabled(), length > 0);
}

void tst_EditCommands::delKeyWithAndWithoutSelection()
{
    frmVellumo* w = editingWindow(*m_env, "abc");
    QSignalSpy deletes(action(w, "mnuDelete"), &QAction::triggered);

    select(w, 0, 1);
    QTest::keyClick(txtFile(w), Qt::Key_Delete);
    QCOMPARE(deletes.size(), 1);
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("bc"));

    QVERIFY(!action(w, "mnuDelete")->isEnabled());
    QTest::keyClick(txtFile(w), Qt::Key_Delete);
    QCOMPARE(deletes.size(), 1);
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("c"));
    // The key's release recorded the deletion: Undo brings back the character.
    action(w, "mnuUndo")->trigger();
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("bc"));
}

void tst_EditCommands::menuKeysWinWhileEditorHasFocus_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("entry");

    QTest::newRow("nominal: Ctrl+X") << "Ctrl+X"
                                     << "mnuCut";
    QTest::newRow("nominal: Ctrl+C") << "Ctrl+C"
                                     << "mnuCopy";
    QTest::newRow("nominal: Ctrl+Ins copies as Ctrl+C") << "Ctrl+Ins"
                                                        << "mnuCopy";
    QTest::newRow("nominal: Shift+Del cuts as Ctrl+X") << "Shift+Del"
                                                       << "mnuCut";
    QTest::newRow("nominal: Ctrl+V") << "Ctrl+V"
                                     << "mnuPaste";
    QTest::newRow("nominal: Ctrl+A") << "Ctrl+A"
                                     << "mnuSelectall";
    QTest::newRow("nominal: Ctrl+Z") << "Ctrl+Z"
                                     << "mnuUndo";
    QTest::newRow("nominal: Del with a selection") << "Del"
                                                   << "mnuDelete";
    QTest::newRow("nominal: Shift+Ins is New Seed, not paste") << "Shift+Ins"
                                                               << "mnuNewSeed";
    QTest::newRow("nominal: F1") << "F1"
                                 << "mnu0Sec";
    QTest::newRow("nominal: F2") << "F2"
                                 << "mnu600Sec";
    QTest::newRow("nominal: F3") << "F3"
                                 << "mnu300Sec";
    QTest::newRow("nominal: F4") << "F4"
                                 << "mnu30Sec";
    QTest::newRow("nominal: F5") << "F5"
                                 << "mnu20Sec";
    QTest::newRow("nominal: F6") << "F6"
                                 << "mnu10Sec";
    QTest::newRow("nominal: F8") << "F8"
                                 << "mnuInject";
}

void tst_EditCommands::menuKeysWinWhileEditorHasFocus()
{
    QFETCH(QString, keys);
    QFETCH(QString, entry);
    frmVellumo* w = editingWindow(*m_env, "one two");
    // Whatever dialog a command opens is cancelled.
    m_env->dialog.queueCancel();
    QGuiApplication::clipboard()->setText("clip");
    auto* action = w->findChild<QAction*>(entry);
    QVERIFY(action);
    QSignalSpy triggered(action, &QAction::triggered);
    select(w, 4, 3);

    const QKeyCombination key = QKeySequence(keys)[0];
    QTest::keyClick(txtFile(w), key.key(), key.keyboardModifiers());
    QCOMPARE(triggered.size(), 1);
    // The editor's own clipboard commands would have put plain words there or pasted "clip" in.
    if (entry == "mnuCut" || entry == "mnuCopy")
        QVERIFY(QGuiApplication::clipboard()->text().startsWith("{\\rtf"));
    if (entry != "mnuPaste")
        QVERIFY(!txtFile(w)->Text().contains("clip"));
}

void tst_EditCommands::disabledCommandsLeaveTheirKeysToTheEditor()
{
    frmVellumo* w = editingWindow(*m_env, "abc");
    QGuiApplication::clipboard()->setText("kept");
    QSignalSpy cuts(action(w, "mnuCut"), &QAction::triggered);
    QSignalSpy copies(action(w, "mnuCopy"), &QAction::triggered);
    txtFile(w)->setSelStart(1);

    QTest::keyClick(txtFile(w), Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(txtFile(w), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(cuts.size(), 0);
    QCOMPARE(copies.size(), 0);
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("abc"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
}

void tst_EditCommands::rightClickMenuOffersTheEditCommands()
{
    frmVellumo* w = editingWindow(*m_env, "one two");
    select(w, 4, 3);
    QStringList offered;
    QList<bool> enabled;
    // The menu runs its own event loop; look at it and choose Select All once it is up.
    QTimer::singleShot(0, this, [&] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!popup)
            return;
        for (QAction* a : popup->actions()) {
            if (a->isSeparator())
                continue;
            offered << a->objectName();
            enabled << a->isEnabled();
        }
        QAction* selectAll = action(w, "mnuSelectall");
        popup->setActiveAction(selectAll);
        QTest::keyClick(popup, Qt::Key_Return);
    });
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                            txtFile(w)->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(txtFile(w)->viewport(), &click);

    QCOMPARE(offered, (QStringList{"mnuUndo", "mnuCut", "mnuCopy", "mnuPaste", "mnuDelete",
                                   "mnuSelectall"}));
    QCOMPARE(enabled, (QList<bool>{true, true, true, true, true, true}));
    QCOMPARE(txtFile(w)->SelLength(), 7);
}

QTEST_MAIN(tst_EditCommands)
#include "tst_editcommands.moc"
