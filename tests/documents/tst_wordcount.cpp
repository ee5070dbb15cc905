#include "app/frmVellumo.h"
#include "documents/DocumentCounts.h"
#include "documents/DocumentList.h"
#include "documents/DocumentStatistics.h"
#include "documents/WordCount.h"
#include "formats/rtf/RtfReader.h"
#include "platform/RichTextBox.h"
#include "support/TestEnvironment.h"
#include "support/WindowParts.h"

#include <QLabel>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

/// The word count: counting text, keeping the count per paragraph, and the status bar.
class tst_WordCount : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void counting_data();
    void counting();
    void describing();
    void paragraphCountsFollowEveryEdit();
    void hiddenTextIsNotCounted();
    void statusBarCountsTheDocumentAndTheSelection();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void tst_WordCount::counting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("words");
    QTest::addColumn<qint64>("characters");

    QTest::newRow("nominal: words between spaces") << "one two  three" << 3ll << 14ll;
    QTest::newRow("nominal: punctuation goes with its word, alone it is none")
        << "Hello, world - again!" << 3ll << 21ll;
    QTest::newRow("nominal: across paragraphs and line breaks")
        << QString("one\ntwo") + QChar(QChar::LineSeparator) + "three" << 3ll << 11ll;
    QTest::newRow("nominal: Japanese counts each character")
        << QString::fromUtf8("日本語のテキスト") << 8ll << 8ll;
    QTest::newRow("nominal: Chinese beside Latin")
        << QString::fromUtf8("Quillmere 写作 tool") << 4ll << 17ll;
    QTest::newRow("nominal: digits are words") << "2026 12 07" << 3ll << 10ll;
    QTest::newRow("robustness: combining marks and surrogate pairs count once")
        << QString::fromUtf8("e\u0301te\u0301 \U0001F600 \U00020000") << 2ll << 7ll;
    QTest::newRow("robustness: empty") << "" << 0ll << 0ll;
    QTest::newRow("robustness: only spaces and marks of punctuation") << " - ... " << 0ll << 7ll;
}

void tst_WordCount::counting()
{
    QFETCH(QString, text);
    QFETCH(qint64, words);
    QFETCH(qint64, characters);
    const WordCount n = WordCount::of(text);
    QCOMPARE(n.words, words);
    QCOMPARE(n.characters, characters);
}

void tst_WordCount::describing()
{
    QCOMPARE((WordCount{1234, 6789}.describe()), QStringLiteral("1,234 words, 6,789 characters"));
    QCOMPARE((WordCount{1, 1}.describe()), QStringLiteral("1 word, 1 character"));
    QCOMPARE((WordCount{0, 0}.describe()), QStringLiteral("0 words, 0 characters"));
    QCOMPARE((WordCount{1234, 6789}.describeSelection(12)), QStringLiteral("12 of 1,234 words"));
}

// Hidden text read from a file is kept for saving, out of the text that is counted.
void tst_WordCount::hiddenTextIsNotCounted()
{
    QTextDocument document;
    QVERIFY(RtfReader().read("{\\rtf1 one {\\v two three} four}", &document));
    QCOMPARE(DocumentCounts::of(document).total().words, 2ll);
}

// Typing, deleting across paragraphs, pasting, undo and redo, in a fixed random order: the kept
// counts always equal a count of the whole text from scratch, and so do those of any range.
void tst_WordCount::paragraphCountsFollowEveryEdit()
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("First paragraph here.\nSecond one\n\nfourth"));
    const DocumentCounts& counts = DocumentCounts::of(document);
    QCOMPARE(&DocumentCounts::of(document), &counts);
    QRandomGenerator random(7);
    const QStringList pieces{"a", " ", "\n", "word ", "\n\nnew paragraph\n", "日本", "-", "x y z"};
    for (int step = 0; step < 400; ++step) {
        const int end = document.characterCount() - 1;
        QTextCursor cursor(&document);
        cursor.setPosition(random.bounded(end + 1));
        switch (random.bounded(5)) {
        case 0:
        case 1:
            cursor.insertText(pieces.at(random.bounded(int(pieces.size()))));
            break;
        case 2:
            cursor.setPosition(qMin(end, cursor.position() + random.bounded(12)),
                               QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            break;
        case 3:
            document.undo();
            break;
        case 4:
            document.redo();
            break;
        }
        const QString text = document.toPlainText();
        QCOMPARE(counts.total(), WordCount::of(text));
        const int from = random.bounded(int(text.size()) + 1);
        const int to = from + random.bounded(int(text.size()) - from + 1);
        QCOMPARE(counts.range(from, to).words,
                 WordCount::of(QStringView(text).mid(from, to - from)).words);
    }
    document.setPlainText(QStringLiteral("all new"));
    QCOMPARE(counts.total(), (WordCount{2, 7}));
}

void tst_WordCount::statusBarCountsTheDocumentAndTheSelection()
{
    frmVellumo* w = m_env->window();
    auto* statistics = child<DocumentStatistics>(w);
    QTimer* rest = child<QTimer>(w, "tmrStatistics");
    QVERIFY(rest->isSingleShot());
    QVERIFY(rest->interval() <= 250);
    QCOMPARE(lblWordCount(w)->parentWidget(), sbrVellumo(w));
    QSignalSpy documentCounts(statistics, &DocumentStatistics::documentCountChanged);
    QSignalSpy selectionCounts(statistics, &DocumentStatistics::selectionCountChanged);

    txtFile(w)->SetFocus();
    QTest::keyClicks(txtFile(w), "one two");
    QTest::keyClick(txtFile(w), Qt::Key_Return);
    QTest::keyClicks(txtFile(w), "three");
    QVERIFY(rest->isActive());
    QVERIFY(documentCounts.isEmpty());
    statistics->tmrStatistics_Timer();
    QCOMPARE(documentCounts.size(), 1);
    QCOMPARE(statistics->documentCount(), (WordCount{3, 12}));
    QCOMPARE(lblWordCount(w)->text(), QStringLiteral("3 words, 12 characters"));

    txtFile(w)->setSelStart(4);
    txtFile(w)->setSelLength(6);
    QVERIFY(rest->isActive());
    statistics->tmrStatistics_Timer();
    QCOMPARE(documentCounts.size(), 1);
    QCOMPARE(selectionCounts.size(), 1);
    QCOMPARE(statistics->selectionCount(), (WordCount{2, 5}));
    QCOMPARE(lblWordCount(w)->text(), QStringLiteral("2 of 3 words"));

    // Each document has its own count, shown as the list switches between them.
    action(w, "mnuNew")->trigger();
    QVERIFY(rest->isActive());
    statistics->tmrStatistics_Timer();
    QCOMPARE(lblWordCount(w)->text(), QStringLiteral("0 words, 0 characters"));
    cmbFiles(w)->setCurrentIndex(0);
    documents(w)->cmbFiles_Click();
    txtFile(w)->setSelStart(0);
    statistics->tmrStatistics_Timer();
    QCOMPARE(lblWordCount(w)->text(), QStringLiteral("3 words, 12 characters"));
}

QTEST_MAIN(tst_WordCount)
#include "tst_wordcount.moc"
