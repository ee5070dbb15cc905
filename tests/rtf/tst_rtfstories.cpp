#include "RtfTestDocuments.h"

#include "formats/base/PageFurniture.h"
#include "formats/rtf/RtfDocumentCache.h"
#include "formats/rtf/RtfDocumentWriter.h"
#include "formats/rtf/RtfReader.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The document's text, paragraphs on lines, with page numbers as '#' and each note's mark and
// paragraphs tagged with its number: "[m1]" before a mark, "[c1]" before a mark of the writer's
// own, "(1)" before a note's paragraph, "(e2)" before an endnote's.
QString tagged(const QTextDocument& document)
{
    QStringList paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        QString text;
        if (const int note = format.intProperty(PageFurniture::NoteBody))
            text = QStringLiteral("(%1%2)")
                       .arg(format.boolProperty(PageFurniture::Endnote) ? "e" : "")
                       .arg(note);
        for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments) {
            const QTextCharFormat chars = fragments.fragment().charFormat();
            if (const int note = chars.intProperty(PageFurniture::NoteMark))
                text += QStringLiteral("[%1%2]")
                            .arg(chars.boolProperty(PageFurniture::CustomMark) ? "c" : "m")
                            .arg(note);
            text += chars.boolProperty(PageFurniture::PageNumber) ? QStringLiteral("#")
                                                                  : fragments.fragment().text();
        }
        paragraphs << text;
    }
    return paragraphs.join(u'\n');
}

QString storyText(const PageFurniture& furniture, PageFurniture::Story story)
{
    if (furniture.stories[size_t(story)].isEmpty())
        return QStringLiteral("-");
    const auto document = RtfTestDocuments::read(furniture.stories[size_t(story)]);
    return tagged(*document);
}

} // namespace

/// Headers, footers and notes read from RTF are written back in their places and read again as
/// they were.
class RtfStoriesTest : public QObject
{
    Q_OBJECT

private slots:
    void storiesSurviveWritingAndReading_data();
    void storiesSurviveWritingAndReading();
    void furnitureIsNotText();
    void notesAreWrittenAtTheirMarks();
    void editsKeepTheCacheAWholeWrite();
};

void RtfStoriesTest::storiesSurviveWritingAndReading_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("stories");
    QTest::newRow("a running header with a page field, a first page of its own")
        << QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times;}{\\f1 Courier New;}}\\titlepg"
                      "\\headery500{\\header\\pard\\qr\\f1 Aubrey / TITLE / {\\field{\\*\\fldinst "
                      "PAGE }{\\fldrslt 7}}\\par}{\\headerf\\pard First\\par}\\pard Body}")
        << QStringLiteral("Body")
        << QStringLiteral("Aubrey / TITLE / #|-|-|First|-|-|-|-|t1 f0 500 720");
    QTest::newRow("facing pages' footers, \\chpgn for the number")
        << QByteArray("{\\rtf1\\facingp\\footery300{\\footerl\\pard Left \\chpgn\\par}"
                      "{\\footerr\\pard\\qr Right {\\b\\chpgn}}Body}")
        << QStringLiteral("Body") << QStringLiteral("-|-|-|-|-|Left #|Right #|-|t0 f1 720 300");
    QTest::newRow("an empty footer, its mark in a font of its own")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Times;}{\\f1 "
                      "Arial;}}{\\footer\\pard\\qc\\f1\\fs24\\par}Body}")
        << QStringLiteral("Body") << QStringLiteral("-|-|-|-||-|-|-|t0 f0 720 720");
    QTest::newRow("notes: a footnote and an endnote")
        << QByteArray("{\\rtf1 Text{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} One.}"
                      " more{\\super\\chftn}{\\footnote\\ftnalt\\pard\\plain\\chftn\\~Two.\\par "
                      "second}. End.}")
        << QStringLiteral("Text[m1]1 more[m2]i. End.\nNotes\n(1)[m1]1 One.\n(e2)[m2]i\u00a0Two."
                          "\n(e2)second")
        << QStringLiteral("-|-|-|-|-|-|-|-|t0 f0 720 720");
    QTest::newRow("notes: Word's mark of the writer's own takes no number")
        << QByteArray("{\\rtf1 A{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} f}B "
                      "{\\cs16\\super *{\\footnote\\pard\\plain{\\cs16\\super *} star}}C{\\super"
                      "\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} g}}")
        << QStringLiteral("A[m1]1B [c2]*C[m3]2\nNotes\n(1)[m1]1 f\n(2)[c2]* star\n(3)[m3]2 g")
        << QStringLiteral("-|-|-|-|-|-|-|-|t0 f0 720 720");
    // Each kind counts its own notes, in the style and from the number the file gives.
    const QByteArray fourNotes(
        "A{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} f}"
        "B{\\super\\chftn}{\\footnote\\ftnalt\\pard\\plain{\\super\\chftn} e}"
        "C{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} f}"
        "D{\\super\\chftn}{\\footnote\\ftnalt\\pard\\plain{\\super\\chftn} e}}");
    QTest::newRow("notes: letters from 3 and upper roman")
        << "{\\rtf1\\ftnnalc\\ftnstart3\\aftnnruc " + fourNotes
        << QStringLiteral("A[m1]cB[m2]IC[m3]dD[m4]II\nNotes\n(1)[m1]c f\n(e2)[m2]I e\n"
                          "(3)[m3]d f\n(e4)[m4]II e")
        << QStringLiteral("-|-|-|-|-|-|-|-|t0 f0 720 720");
    QTest::newRow("notes: a section's symbols and arabic from 9")
        << "{\\rtf1\\sftnnchi\\saftnnar\\saftnstart9 " + fourNotes
        << QStringLiteral("A[m1]*B[m2]9C[m3]\u2020D[m4]10\nNotes\n(1)[m1]* f\n(e2)[m2]9 e\n"
                          "(3)[m3]\u2020 f\n(e4)[m4]10 e")
        << QStringLiteral("-|-|-|-|-|-|-|-|t0 f0 720 720");
}

void RtfStoriesTest::storiesSurviveWritingAndReading()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, body);
    QFETCH(QString, stories);
    const auto describe = [](const QTextDocument& document) {
        const PageFurniture furniture = PageFurniture::of(document);
        QStringList parts;
        for (int story = 0; story < PageFurniture::StoryCount; ++story)
            parts << storyText(furniture, PageFurniture::Story(story));
        parts << QStringLiteral("t%1 f%2 %3 %4")
                     .arg(int(furniture.titlePage))
                     .arg(int(furniture.facingPages))
                     .arg(furniture.headerY)
                     .arg(furniture.footerY);
        return parts.join(u'|');
    };
    const auto first = RtfTestDocuments::read(rtf);
    QCOMPARE(tagged(*first), body);
    QCOMPARE(describe(*first), stories);
    const QByteArray written = RtfDocumentWriter(*first).write();
    const auto second = RtfTestDocuments::read(written);
    QCOMPARE(tagged(*second), body);
    QCOMPARE(describe(*second), stories);
    QCOMPARE(RtfDocumentWriter(*second).write(), written);
}

void RtfStoriesTest::furnitureIsNotText()
{
    const auto document =
        RtfTestDocuments::read("{\\rtf1{\\header\\pard Head\\par}{\\footer\\pard Foot\\par}Body}");
    QCOMPARE(document->toPlainText(), QStringLiteral("Body"));
    // Without furniture the root frame stays as a new document's.
    const auto plain = RtfTestDocuments::read("{\\rtf1 Body}");
    QVERIFY(PageFurniture::of(*plain).isEmpty());
    QVERIFY(!RtfDocumentWriter(*plain).write().contains("header"));
}

void RtfStoriesTest::notesAreWrittenAtTheirMarks()
{
    const auto document = RtfTestDocuments::read(
        "{\\rtf1 A{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} One.\\par Two.}"
        " B{\\super\\chftn}{\\footnote\\ftnalt\\pard\\plain{\\super\\chftn} Three.} C}");
    const QByteArray written = RtfDocumentWriter(*document).write();
    const QByteArray body = written.sliced(written.indexOf("\\uc1"));
    QVERIFY2(!body.contains("Notes"), body.constData());
    QCOMPARE(body.count("{\\footnote"), 2);
    QCOMPARE(body.count("\\ftnalt"), 1);
    QVERIFY2(body.indexOf("One.") < body.indexOf(" B"), body.constData());
    QVERIFY2(body.indexOf("Three.") < body.indexOf(" C"), body.constData());
    // The notes' paragraphs are written with their marks, so the body's text ends the document.
    QVERIFY2(body.endsWith(" C}"), body.constData());
}

// Typing writes one paragraph again where it can; with notes the result must still be what a
// whole write gives, whether the text, a note or a mark changes.
void RtfStoriesTest::editsKeepTheCacheAWholeWrite()
{
    const auto document = RtfTestDocuments::read(
        "{\\rtf1 Before.\\par A{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} One.}"
        " B\\par After.}");
    RtfDocumentCache& cache = RtfDocumentCache::of(*document);
    cache.rtf();
    const auto typeAt = [&](int position, const QString& text) {
        QTextCursor cursor(document.get());
        cursor.setPosition(position);
        cursor.insertText(text);
        QCOMPARE(cache.rtf(), RtfDocumentWriter(*document).write());
    };
    // A plain paragraph, the mark's, the note's; then the mark goes and the note stays as text.
    typeAt(1, QStringLiteral("x"));
    typeAt(document->findBlockByNumber(1).position() + 3, QStringLiteral("y"));
    typeAt(document->lastBlock().position() + 2, QStringLiteral("Only "));
    QTextCursor mark(document->findBlockByNumber(1));
    mark.movePosition(QTextCursor::NextCharacter);
    mark.deleteChar();
    QCOMPARE(cache.rtf(), RtfDocumentWriter(*document).write());
    QVERIFY(cache.rtf().contains("Only One."));
    QVERIFY(!cache.rtf().contains("footnote"));
}

QTEST_MAIN(RtfStoriesTest)
#include "tst_rtfstories.moc"
