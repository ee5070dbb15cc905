#include "RtfTestDocuments.h"

#include "formats/base/PageFurniture.h"

#include "formats/rtf/RtfReader.h"
#include "formats/rtf/RtfWriter.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

namespace {

QByteArray repeated(const char* text, int count)
{
    return QByteArray(text).repeated(count);
}

// A small document using everything the writer emits: tables, formats, bullets, Unicode.
QByteArray sampleRtf()
{
    const auto source = RtfTestDocuments::create();
    source->setHtml(QStringLiteral(
        "<p>plain <b>bold</b> <i>it</i> <u>u</u> <s>s</s> <span style=\"color:#c00\">red</span>"
        " <span style=\"font-family:Arial;font-size:14pt\">arial\ttab</span></p>"
        "<ul><li>one é</li><li>два 日本 😀</li></ul><p>{\\}<br>end</p>"));
    return RtfWriter::write(*source);
}

QList<QTextBlock> blocks(const QTextDocument& document)
{
    QList<QTextBlock> blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        blocks.append(block);
    return blocks;
}

// The same text in the same formats, the list a paragraph belongs to aside.
bool sameBlock(const QTextBlock& one, const QTextBlock& other)
{
    QTextBlockFormat format = one.blockFormat();
    QTextBlockFormat otherFormat = other.blockFormat();
    QTextCharFormat chars = one.charFormat();
    QTextCharFormat otherChars = other.charFormat();
    // Tables are numbered as objects, in order, and each note has a number of its own.
    for (QTextFormat* each :
         {static_cast<QTextFormat*>(&format), static_cast<QTextFormat*>(&otherFormat),
          static_cast<QTextFormat*>(&chars), static_cast<QTextFormat*>(&otherChars)}) {
        each->clearProperty(QTextFormat::ObjectIndex);
        each->clearProperty(PageFurniture::NoteBody);
    }
    if (format != otherFormat || chars != otherChars)
        return false;
    auto it = one.begin();
    auto otherIt = other.begin();
    for (; !it.atEnd() && !otherIt.atEnd(); ++it, ++otherIt)
        if (it.fragment().text() != otherIt.fragment().text() ||
            it.fragment().charFormat() != otherIt.fragment().charFormat())
            return false;
    return it.atEnd() && otherIt.atEnd();
}

} // namespace

/// Hostile and damaged input: the reader must return, stay linear and keep what makes sense.
class RtfRobustnessTest : public QObject
{
    Q_OBJECT

private slots:
    void hostileInput_data();
    void hostileInput();
    void truncatedAtEveryOffset();
    void mutatedInputRewritesIdentically_data();
    void mutatedInputRewritesIdentically();
    void longBulletListReadsEveryParagraph();
    void largeFileReadsAsItsPartsDo();
    void nullDocument();
};

void RtfRobustnessTest::hostileInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    const QByteArray nines = repeated("9", 40);
    QTest::newRow("robustness: 1,000,000 nested groups never closed")
        << "{\\rtf1 a" + repeated("{", 1'000'000) + "b" << QStringLiteral("ab");
    QTest::newRow("robustness: 1,000,000 nested groups closed again")
        << "{\\rtf1 a" + repeated("{", 1'000'000) + "b" + repeated("}", 1'000'000) + "c}"
        << QStringLiteral("abc");
    QTest::newRow("robustness: formatting set past the depth cap ends with its groups")
        << "{\\rtf1 " + repeated("{", 600) + "\\b x" + repeated("}", 600) + "y}"
        << QStringLiteral("{b:x}y");
    QTest::newRow("robustness: 100,000 nested skipped destinations")
        << "{\\rtf1 a" + repeated("{\\*\\x ", 100'000) + "hidden" + repeated("}", 100'000) + "b}"
        << QStringLiteral("ab");
    QTest::newRow("robustness: extra closing braces end the document")
        << QByteArray("{\\rtf1 a}}}b}") << QStringLiteral("a");
    QTest::newRow("robustness: groups never closed")
        << QByteArray("{\\rtf1 a{\\b b{\\i c") << QStringLiteral("a{b:b}{b,i:c}");
    QTest::newRow("robustness: \\bin with a huge count")
        << "{\\rtf1 a\\bin" + nines + " bcd}" << QStringLiteral("a");
    QTest::newRow("robustness: \\bin with a negative count")
        << QByteArray("{\\rtf1 a\\bin-5 bc}") << QStringLiteral("abc");
    QTest::newRow("robustness: \\bin past the end")
        << QByteArray("{\\rtf1 a\\bin10 xy") << QStringLiteral("a");
    QTest::newRow("robustness: 1,000-letter control word")
        << "{\\rtf1 a\\" + repeated("x", 1000) + " b\\" + repeated("b", 1000) + " c}"
        << QStringLiteral("abc");
    QTest::newRow("robustness: 40-digit parameters are clamped")
        << "{\\rtf1\\fs" + nines + " a\\fs-" + nines + " b\\u" + nines + "c\\uc" + nines +
               " \\u65 skipped{}d\\cf" + nines + " e\\f" + nines + " f\\b" + nines + " g}"
        << QStringLiteral("{1638:a}b\ufffdAdef{b:g}");
    QTest::newRow("robustness: colour and font indices outside their tables")
        << QByteArray("{\\rtf1\\deff0{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                      "\\cf5 a\\cf-1 b\\f7 c\\f-3 d\\cf1 e}")
        << QStringLiteral("{Arial:abcd}{#ff0000,Arial:e}");
    QTest::newRow("robustness: colour components out of range are clamped")
        << QByteArray("{\\rtf1{\\colortbl;\\red999\\green-4\\blue128;}\\cf1 a}")
        << QStringLiteral("{#ff0080:a}");
    QTest::newRow("robustness: \\deff naming a missing font")
        << QByteArray("{\\rtf1\\deff9{\\fonttbl{\\f0 Arial;}}a}") << QStringLiteral("a");
    QTest::newRow("robustness: NUL bytes")
        << QByteArray("{\\rtf1 a\0b\\'00c\\u0?d\0}", 22) << QStringLiteral("abcd");
    QTest::newRow("robustness: control and separator characters as \\uN")
        << QByteArray("{\\rtf1 a\\u13?\\u10?\\u8233?\\u-4?\\u7?b}") << QStringLiteral("ab");
    QTest::newRow("robustness: backslash at the very end")
        << QByteArray("{\\rtf1 a\\") << QStringLiteral("a");
    QTest::newRow("robustness: \\' without hex digits spans two characters")
        << QByteArray("{\\rtf1 a\\'zzb c\\'4\\u8364\\'zz d}") << QStringLiteral("ab c\u20ac d");
    QTest::newRow("robustness: broken double-byte sequences")
        << QByteArray("{\\rtf1\\ansicpg932 a\\'81\\'ffb\\'82}")
        << QStringLiteral("a\ufffd\ufffdb\ufffd");
    QTest::newRow("robustness: unknown or absurd code pages read as 1252")
        << QByteArray("{\\rtf1\\ansicpg99999 \\'e9{\\ansicpg-5 \\'e8}{\\ansicpg0 \\'e0}}")
        << QStringLiteral("éèà");
    QTest::newRow("robustness: font table never closed")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial") << QString();
    QTest::newRow("robustness: \\* before text, then a known word")
        << QByteArray("{\\rtf1{\\* x\\b y}z}") << QStringLiteral(" x{b:y}z");
    QTest::newRow("robustness: \\uc skipping across the end of the data")
        << QByteArray("{\\rtf1\\uc5 a\\u233 bc") << QStringLiteral("aé");
}

void RtfRobustnessTest::hostileInput()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(RtfTestDocuments::summary(*RtfTestDocuments::read(rtf)), expected);
}

void RtfRobustnessTest::truncatedAtEveryOffset()
{
    const QByteArray rtf = sampleRtf();
    const QString full = RtfTestDocuments::read(rtf)->toPlainText();
    for (qsizetype length = 0; length <= rtf.size(); ++length) {
        const auto target = RtfTestDocuments::create();
        RtfReader reader;
        const bool read = reader.read(rtf.left(length), target.get());
        QCOMPARE(read, length >= 5);
        // Only the token cut short may differ: everything before it is what the whole file holds.
        const QString text = target->toPlainText();
        QString kept = text.chopped(qMin<qsizetype>(1, text.size()));
        // A surrogate pair cut in half leaves its first half alone, which reads as U+FFFD.
        if (kept.endsWith(QChar::ReplacementCharacter))
            kept.chop(1);
        QVERIFY2(full.startsWith(kept),
                 qPrintable(QStringLiteral("cut at %1: %2").arg(length).arg(text)));
    }
}

void RtfRobustnessTest::mutatedInputRewritesIdentically_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 200; ++seed)
        QTest::addRow("robustness: mutated sample %u", seed) << seed;
}

void RtfRobustnessTest::mutatedInputRewritesIdentically()
{
    // Whatever the reader makes of damaged input is a document the codec then carries exactly.
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    QByteArray rtf = sampleRtf();
    static const QByteArray alphabet = "{}\\\\\\'*;-0123456789abfiu \x95\xe9";
    for (int edits = random.bounded(1, 12); edits > 0; --edits) {
        const qsizetype at = random.bounded(rtf.size() - 5) + 5;
        const char byte = alphabet.at(random.bounded(alphabet.size()));
        if (random.bounded(3) == 0)
            rtf.remove(at, random.bounded(1, 8));
        else
            rtf.insert(at, byte);
    }
    const auto read = RtfTestDocuments::read(rtf);
    const QByteArray written = RtfWriter::write(*read);
    QCOMPARE(QString::fromUtf8(RtfWriter::write(*RtfTestDocuments::read(written))),
             QString::fromUtf8(written));
}

void RtfRobustnessTest::longBulletListReadsEveryParagraph()
{
    // Qt revisits a whole list whenever a paragraph joins it: one huge list would never finish.
    const int count = 100'000;
    const auto read =
        RtfTestDocuments::read("{\\rtf1{\\*\\pn\\pnlvlblt}" + repeated("x\\par ", count) + "y}");
    QCOMPARE(read->blockCount(), count + 1);
    for (QTextBlock block = read->begin(); block.isValid(); block = block.next()) {
        QVERIFY(block.textList());
        QCOMPARE(block.textList()->format().style(), QTextListFormat::ListDisc);
    }
}

void RtfRobustnessTest::largeFileReadsAsItsPartsDo()
{
    // A large file is read on a second thread while this one builds the document, handed over
    // in chunks that end anywhere: in a list, a note, a run, a paragraph still to be made.
    const QByteArray sample =
        RtfTestDocuments::contents(QStringLiteral(QUILLMERE_RTF_DATA "/libreoffice-writer.rtf"));
    const qsizetype start = sample.lastIndexOf("\\pard", sample.indexOf("Plain start"));
    const QByteArray body = sample.sliced(start, sample.lastIndexOf('}') - start) +
                            "\\pard\\qc{\\footnote\\pard\\li720 note\\par}\\li360 x\\b y\\par ";
    const int repeats = int(1'500'000 / body.size());
    const auto partRead = RtfTestDocuments::read(sample.left(start) + body + '}');
    const QList<QTextBlock> part = blocks(*partRead);
    const auto read = RtfTestDocuments::read(sample.left(start) + body.repeated(repeats) + '}');
    const QList<QTextBlock> whole = blocks(*read);

    // Both end in an empty paragraph, then the notes under their heading.
    const qsizetype notes = part.size() - 3;
    QList<qsizetype> fromPart;
    for (int repeat = 0; repeat < repeats; ++repeat)
        for (qsizetype block = 0; block < notes; ++block)
            fromPart.append(block);
    fromPart << notes << notes + 1;
    fromPart.append(QList<qsizetype>(repeats, notes + 2));
    QCOMPARE(whole.size(), fromPart.size());
    for (qsizetype block = 0; block < whole.size(); ++block)
        QVERIFY2(sameBlock(whole[block], part[fromPart[block]]), qPrintable(whole[block].text()));
}

void RtfRobustnessTest::nullDocument()
{
    RtfReader reader;
    QVERIFY(!reader.read("{\\rtf1 x}", nullptr));
    QVERIFY(!reader.errorString().isEmpty());
}

QTEST_MAIN(RtfRobustnessTest)
#include "tst_rtfrobustness.moc"
