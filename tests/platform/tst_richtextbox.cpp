#include "formats/DocumentFormats.h"
#include "formats/ParagraphDirection.h"
#include "formats/base/ParagraphPieces.h"
#include "formats/base/TextProperties.h"
#include "platform/LineBreakRuns.h"
#include "platform/QtMessageService.h"
#include "platform/RichTextBox.h"
#include "platform/TextBoundary.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QBuffer>
#include <QFontDatabase>
#include <QImage>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

class tst_RichTextBox : public QObject
{
    Q_OBJECT

private slots:
    void nearestCharacterBoundary_data();
    void nearestCharacterBoundary();
    void messageBoxShowsItsWholeTitle();
    void selRtfReadsEmptyWithoutSelection();
    void selRtfCarriesFormattingAndPlainTextStaysPlain();
    void pastedPicturesKeepTheirData();
    void selectionPositionsClampToTheText();
    void selTextReplacesAndLeavesCaretAfter();
    void find_data();
    void find();
    void linesArePararaphsAndTheEndBelongsToTheLast();
    void bulletsOnAndOff();
    void keyUpOnlyOnFinalRelease();
    void rightToLeftParagraphsStayRightToLeft_data();
    void rightToLeftParagraphsStayRightToLeft();
    void menuOwnsItsKeysWhileEnabled();
    void runsWithNoPlaceToBreakWrapAnywhere_data();
    void runsWithNoPlaceToBreakWrapAnywhere();
    void longParagraphsKeepTheirLayouts();
    void longParagraphsAreHeldInPiecesAndLeaveWhole_data();
    void longParagraphsAreHeldInPiecesAndLeaveWhole();
    void editsInAPieceKeepTheWritersParagraphs();
    void listsShowTheNumberTheyStartAt();
};

void tst_RichTextBox::selRtfReadsEmptyWithoutSelection()
{
    RichTextBox box;
    QCOMPARE(box.SelRTF(), QString());
    box.setPlainText("hello");
    box.setSelStart(2);
    QCOMPARE(box.SelRTF(), QString());
    QVERIFY(box.TextRTF().startsWith("{\\rtf1"));
}

void tst_RichTextBox::selRtfCarriesFormattingAndPlainTextStaysPlain()
{
    RichTextBox box;
    box.setPlainText("one two");
    box.setSelStart(4);
    box.setSelLength(3);
    box.setSelBold(true);
    const QString rtf = box.SelRTF();
    QVERIFY(rtf.startsWith("{\\rtf"));

    box.setSelStart(0);
    box.setSelRTF(rtf);
    QCOMPARE(box.Text(), QStringLiteral("twoone two"));
    QTextCursor c(box.document());
    c.setPosition(1);
    QCOMPARE(c.charFormat().fontWeight(), int(QFont::Bold));

    box.setSelStart(10);
    box.setSelRTF("{not rtf} \\b x");
    QCOMPARE(box.Text(), QStringLiteral("twoone two{not rtf} \\b x"));

    // Writers put white space, line breaks and a byte-order mark around the opening brace.
    box.setSelStart(0);
    box.setSelRTF(QStringLiteral("\ufeff{\n  \\rtf1 ok }"));
    QVERIFY(box.Text().startsWith(QStringLiteral("ok twoone")));
}

static QString rtfWithPicture(Qt::GlobalColor colour)
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QStringLiteral("{\\rtf1\\ansi x{\\pict\\pngblip\\picw4\\pich4 %1}y}")
        .arg(QString::fromLatin1(png.toHex()));
}

void tst_RichTextBox::pastedPicturesKeepTheirData()
{
    RichTextBox box;
    box.setTextRTF(rtfWithPicture(Qt::red));
    box.setSelStart(box.Text().size());
    box.setSelRTF(rtfWithPicture(Qt::blue));
    const QString rtf = box.TextRTF();
    QCOMPARE(rtf.count(QStringLiteral("\\pngblip")), 2);

    RichTextBox reread;
    reread.setTextRTF(rtf);
    QCOMPARE(reread.TextRTF(), rtf);
}

void tst_RichTextBox::selectionPositionsClampToTheText()
{
    RichTextBox box;
    box.setPlainText("abc");
    box.setSelStart(5000);
    QCOMPARE(box.SelStart(), 3);
    box.setSelStart(1);
    box.setSelLength(99);
    QCOMPARE(box.SelLength(), 2);
    QCOMPARE(box.SelText(), QStringLiteral("bc"));
}

void tst_RichTextBox::selTextReplacesAndLeavesCaretAfter()
{
    RichTextBox box;
    box.setPlainText("a cat sat");
    box.setSelStart(2);
    box.setSelLength(3);
    box.setSelText("dog");
    QCOMPARE(box.Text(), QStringLiteral("a dog sat"));
    QCOMPARE(box.SelStart(), 5);
    QCOMPARE(box.SelLength(), 0);
}

void tst_RichTextBox::find_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("found");

    QTest::newRow("nominal: first match from the top") << "abc ABC abc"
                                                       << "abc" << 0 << 0 << 0;
    QTest::newRow("nominal: onward from a position") << "abc ABC abc"
                                                     << "abc" << 1 << 0 << 4;
    QTest::newRow("nominal: match case skips ABC") << "abc ABC abc"
                                                   << "abc" << 1 << 4 << 8;
    QTest::newRow("nominal: whole word skips inside words") << "concatenate cat"
                                                            << "cat" << 0 << 2 << 12;
    QTest::newRow("nominal: underscore and digits join words") << "cat_1 cat2 cat"
                                                               << "cat" << 0 << 2 << 11;
    QTest::newRow("robustness: no match") << "abc"
                                          << "x" << 0 << 0 << -1;
    QTest::newRow("robustness: empty needle") << "abc"
                                              << "" << 0 << 0 << -1;
    QTest::newRow("robustness: start past the end") << "abc"
                                                    << "a" << 9 << 0 << -1;
}

void tst_RichTextBox::find()
{
    QFETCH(QString, text);
    QFETCH(QString, needle);
    QFETCH(int, start);
    QFETCH(int, options);
    QFETCH(int, found);
    RichTextBox box;
    box.setPlainText(text);
    QCOMPARE(box.Find(needle, start, box.Text().size(), options), qint64(found));
    if (found >= 0) {
        QCOMPARE(box.SelStart(), found);
        QCOMPARE(box.SelLength(), needle.size());
    }
}

void tst_RichTextBox::linesArePararaphsAndTheEndBelongsToTheLast()
{
    RichTextBox box;
    QCOMPARE(box.GetLineFromChar(0), 0);
    box.setPlainText("one\ntwo\n");
    QCOMPARE(box.GetLineFromChar(3), 0);
    QCOMPARE(box.GetLineFromChar(4), 1);
    QCOMPARE(box.GetLineFromChar(box.Text().size()), 2);
    QCOMPARE(box.positionOfLine(2), 8);
    QCOMPARE(box.positionOfLine(3), -1);
    QCOMPARE(box.positionOfLine(-1), -1);
}

void tst_RichTextBox::bulletsOnAndOff()
{
    RichTextBox box;
    box.setPlainText("one\ntwo");
    box.setSelStart(1);
    box.setSelBullet(true);
    QVERIFY(box.document()->firstBlock().textList());
    QVERIFY(!box.document()->lastBlock().textList());
    box.setSelBullet(false);
    QVERIFY(!box.document()->firstBlock().textList());
    QCOMPARE(box.document()->firstBlock().blockFormat().indent(), 0);
}

void tst_RichTextBox::rightToLeftParagraphsStayRightToLeft_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("nominal: typed") << "typed";
    QTest::newRow("nominal: pasted") << "pasted";
    QTest::newRow("nominal: read") << "read";
    QTest::newRow("edge: after a surrogate pair") << "typed after emoji";
}

// Paragraphs are laid out left to right until right-to-left text comes; from then on each
// paragraph takes the direction of its text, however the text came.
void tst_RichTextBox::rightToLeftParagraphsStayRightToLeft()
{
    QFETCH(QString, how);
    RichTextBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setSelText(QStringLiteral("English first\n"));
    const QString hebrew =
        QString::fromUtf8("\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d \xd7\xa2\xd7\x95\xd7\x9c\xd7\x9d");
    // One key event per character, as a keyboard layout for the script sends them.
    const auto type = [&](const QString& text) {
        for (qsizetype i = 0; i < text.size(); i += text[i].isHighSurrogate() ? 2 : 1) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier,
                            text.mid(i, text[i].isHighSurrogate() ? 2 : 1));
            QApplication::sendEvent(&box, &press);
        }
    };
    if (how == "typed")
        type(hebrew);
    else if (how == "typed after emoji")
        type(QString::fromUtf8("\xf0\x9f\x98\x80 ") + hebrew);
    else if (how == "pasted")
        box.setSelRTF(hebrew);
    else
        box.setTextRTF(
            QStringLiteral("{\\rtf1\\ansi English first\\par \\u1513?\\u1500?\\u1493?\\u1501?}"));
    QTextBlock first = box.document()->firstBlock();
    QCOMPARE(first.layout()->textOption().textDirection(), Qt::LeftToRight);
    QCOMPARE(first.next().textDirection(), Qt::RightToLeft);
    QVERIFY(ParagraphDirection::hasRightToLeft(first.next().text()));
    QVERIFY(!ParagraphDirection::hasRightToLeft(QString::fromUtf8("\xf0\x9f\x98\x80 Caf\xc3\xa9")));
    QVERIFY(!ParagraphDirection::hasRightToLeft(u"\u65e5\u672c \u0915\u2066"));
    QVERIFY(ParagraphDirection::hasRightToLeft(u"\u65e5\u672c \u200f"));
    QVERIFY(ParagraphDirection::hasRightToLeft(u"\u65e5\u672c \u2067"));
}

void tst_RichTextBox::keyUpOnlyOnFinalRelease()
{
    RichTextBox box;
    QSignalSpy keyUps(&box, &RichTextBox::KeyUp);
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a", true);
    QApplication::sendEvent(&box, &repeat);
    QCOMPARE(keyUps.size(), 0);
    QKeyEvent final(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a", false);
    QApplication::sendEvent(&box, &final);
    QCOMPARE(keyUps.size(), 1);
}

void tst_RichTextBox::menuOwnsItsKeysWhileEnabled()
{
    QWidget window;
    auto* box = new RichTextBox(&window);
    auto* del = new QAction(&window);
    del->setShortcut(QKeySequence::Delete);
    window.addAction(del);
    QSignalSpy triggered(del, &QAction::triggered);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    box->setFocus();
    box->setPlainText("abc");

    box->setSelStart(0);
    box->setSelLength(1);
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(triggered.size(), 1);
    QCOMPARE(box->Text(), QStringLiteral("abc"));

    del->setEnabled(false);
    box->setSelStart(0);
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(triggered.size(), 1);
    QCOMPARE(box->Text(), QStringLiteral("bc"));
}

void tst_RichTextBox::nearestCharacterBoundary_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("boundary");
    const QString pair = QStringLiteral("a\U0001F600b");
    QTest::newRow("nominal: between characters stays") << pair << 1 << 1;
    QTest::newRow("nominal: inside a surrogate pair goes before it") << pair << 2 << 1;
    QTest::newRow("nominal: before a combining mark goes before its letter")
        << QStringLiteral("xe\u0301y") << 2 << 1;
    QTest::newRow("nominal: the nearer of two boundaries")
        << QStringLiteral("e\u0301\u0302\u0303z") << 3 << 4;
    QTest::newRow("robustness: beyond the text") << pair << 9 << 4;
}

void tst_RichTextBox::nearestCharacterBoundary()
{
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(int, boundary);
    QCOMPARE(TextBoundary::nearest(text, position), boundary);
}

void tst_RichTextBox::messageBoxShowsItsWholeTitle()
{
    const QString title = QStringLiteral("A rather long title for a box that says little");
    QMessageBox box(QMessageBox::Information, title, QStringLiteral("Short."));
    QtMessageService::fitTitle(box);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QFontMetrics titleFont(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    QVERIFY(box.width() > titleFont.horizontalAdvance(title));
}

void tst_RichTextBox::runsWithNoPlaceToBreakWrapAnywhere_data()
{
    QTest::addColumn<QString>("run");
    QTest::addColumn<bool>("anywhere");

    const qsizetype length = LineBreakRuns::longRun;
    QTest::newRow("nominal: letters and digits") << QString("a1").repeated(length) << true;
    QTest::newRow("nominal: words wrap at words") << QString("word ").repeated(length) << false;
    QTest::newRow("robustness: Chinese breaks between any two characters")
        << QString::fromUtf8("\u4e2d\u6587").repeated(length) << false;
}

// Qt looks for a place to break such a run up to the paragraph's end for every line it lays
// out; breaking anywhere lays it out in one pass. The text itself stays as it came.
void tst_RichTextBox::runsWithNoPlaceToBreakWrapAnywhere()
{
    QFETCH(QString, run);
    QFETCH(bool, anywhere);
    const auto wrap = [](bool anywhere) {
        return anywhere ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    };
    RichTextBox box;
    box.setSelRTF("before ");
    // A list item is the paragraph the editor never holds in pieces.
    box.setSelBullet(true);
    box.setSelRTF(run);
    QCOMPARE(box.wordWrapMode(), wrap(anywhere));
    QCOMPARE(box.Text(), "before " + run);

    // Undo brings it back by reading it: the document read in place wraps the same way.
    const QString withRun = box.TextRTF();
    box.setSelStart(7);
    box.setSelLength(run.size());
    box.setSelText(QString());
    QCOMPARE(box.wordWrapMode(), wrap(false));
    box.setTextRTFInPlace(withRun);
    QCOMPARE(box.wordWrapMode(), wrap(anywhere));
    QCOMPARE(box.Text(), "before " + run);
}

// Drawing a long paragraph shapes its text again unless its layout is kept.
void tst_RichTextBox::longParagraphsKeepTheirLayouts()
{
    const auto kept = [](QTextDocument* document, int block) {
        return document->findBlockByNumber(block).layout()->cacheEnabled();
    };
    RichTextBox box;
    box.setSelText("short");
    QVERIFY(!kept(box.document(), 0));
    // A list item is the paragraph the editor never holds in pieces.
    box.setSelBullet(true);
    box.setSelText(QString("word ").repeated(4000));
    QVERIFY(kept(box.document(), 0));

    auto* shown = new QTextDocument(&box);
    QTextCursor(shown).insertText("short\n" + QString("word ").repeated(4000));
    QTextCursor(shown->lastBlock()).createList(QTextListFormat::ListDisc);
    box.showDocument(shown);
    QVERIFY(!kept(shown, 0));
    QVERIFY(kept(shown, 1));
}

namespace {

QString saved(RichTextBox& box)
{
    return QString::fromUtf8(DocumentFormats::plainText().write(*box.document(), {}));
}

// The RTF of the document as the editor holds it, and of a copy made whole, as other formats
// write it.
std::pair<QByteArray, QByteArray> rtfAndWhole(RichTextBox& box)
{
    const std::unique_ptr<QTextDocument> whole(box.document()->clone());
    ParagraphPieces::join(*whole);
    return {box.rtfData(), DocumentFormats::rtf().write(*whole, {})};
}

QString longWords()
{
    QString words;
    for (int n = 0; words.size() < 40000; ++n)
        words += QStringLiteral("word%1 ").arg(n);
    return words;
}

} // namespace

void tst_RichTextBox::longParagraphsAreHeldInPiecesAndLeaveWhole_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("shown");
    QTest::newRow("nominal: words pasted") << longWords() << false;
    QTest::newRow("nominal: a document shown") << longWords() << true;
    QTest::newRow("robustness: a run with no space") << QString("a1").repeated(20000) << false;
}

// Qt lays a paragraph out whole at every keystroke; the editor holds a long one in pieces, and
// every way out of the editor sees it whole, at the positions the writer sees.
void tst_RichTextBox::longParagraphsAreHeldInPiecesAndLeaveWhole()
{
    QFETCH(QString, line);
    QFETCH(bool, shown);
    RichTextBox box;
    const QString text = "Title\n" + line + "\nEnd";
    if (shown) {
        auto* document = new QTextDocument(&box);
        document->setPlainText(text);
        box.showDocument(document);
        QVERIFY(!box.document()->isUndoAvailable());
    } else {
        box.setSelRTF(text);
    }
    QVERIFY(box.document()->blockCount() > 6);
    QCOMPARE(saved(box), text + "\n");
    const auto [rtf, whole] = rtfAndWhole(box);
    QCOMPARE(rtf, whole);
    QCOMPARE(box.Text().size(), box.document()->characterCount() - 1);
    QCOMPARE(QString(box.Text()).remove(QChar(0x200b)), text);
    QCOMPARE(box.GetLineFromChar(box.Text().size()), 2);
    QCOMPARE(box.positionOfLine(2), box.Text().size() - 3);
    const int length = int(box.Text().size()) - 4;
    const QString selected = QString(box.Text().mid(2, length)).remove(QChar(0x200b));
    box.setSelStart(2);
    box.setSelLength(length);
    QCOMPARE(QString(box.SelText()).remove(QChar(0x200b)), selected);
    const DocumentFormats::Read copied = DocumentFormats::rtf().read(box.SelRTF().toLatin1(), {});
    QCOMPARE(copied.document->toPlainText(), selected);
}

// A break typed or pasted into a piece is the writer's; a paragraph's format is all its pieces'.
void tst_RichTextBox::editsInAPieceKeepTheWritersParagraphs()
{
    const QString line = longWords();
    RichTextBox box;
    box.setSelRTF(line);
    const int pasted = box.historyStep();
    const int at = int(line.indexOf(' ', 6000)) + 1;
    box.setSelStart(at);
    QTest::keyClick(&box, Qt::Key_Return);
    QCOMPARE(saved(box), line.left(at) + "\n" + line.mid(at) + "\n");
    box.rtfData();
    QTest::keyClick(&box, Qt::Key_X);
    const auto [rtf, whole] = rtfAndWhole(box);
    QCOMPARE(rtf, whole);
    QTest::keyClick(&box, Qt::Key_Backspace);
    box.setSelRTF("pasted\nlines");
    QCOMPARE(saved(box), line.left(at) + "\npasted\nlines" + line.mid(at) + "\n");
    QVERIFY(box.moveInHistory(pasted));
    QCOMPARE(saved(box), line + "\n");

    box.setSelStart(int(line.size()) - 10);
    box.setSelLineSpacing(200);
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next())
        QCOMPARE(block.blockFormat().lineHeight(), 200);
    const int joint = box.document()->findBlockByNumber(1).position() - 1;
    QCOMPARE(box.Text().at(joint), ' ');
    box.setSelStart(joint + 1);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QCOMPARE(box.Text(), QString(line).remove(joint, 1));
}

// Qt numbers every list from 1: the first item of a list that starts at 3 shows as the third
// item of a list Qt numbers itself does.
void tst_RichTextBox::listsShowTheNumberTheyStartAt()
{
    const auto shown = [](bool startsAtThree) {
        RichTextBox box;
        box.setCursorWidth(0);
        box.resize(240, 120);
        QTextCursor cursor(box.document());
        QTextListFormat format;
        format.setStyle(QTextListFormat::ListUpperRoman);
        cursor.insertText("one");
        cursor.createList(format);
        cursor.insertBlock();
        cursor.insertText("two");
        cursor.insertBlock();
        if (startsAtThree) {
            format.setProperty(TextProperties::ListStart, 3);
            cursor.createList(format);
        }
        cursor.insertText("three");
        box.show();
        return box.viewport()->grab().toImage();
    };
    QCOMPARE(shown(true), shown(false));
}

QTEST_MAIN(tst_RichTextBox)
#include "tst_richtextbox.moc"
