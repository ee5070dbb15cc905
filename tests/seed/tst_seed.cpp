#include "app/frmVellumo.h"
#include "editing/EditorMarks.h"
#include "formats/TextDecoding.h"
#include "platform/RichTextBox.h"
#include "seed/RandomGenerator.h"
#include "seed/SeedFile.h"
#include "seed/SeedPath.h"
#include "seed/SeedPrompter.h"
#include "seed/SeedRun.h"
#include "seed/SeedWords.h"
#include "spelling/SpellingCommands.h"
#include "support/TestEnvironment.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <iconv.h>

namespace {

const QString noSeed = QStringLiteral("You must first enter a seed text");
// "w0 w1 ... wN": each word names its own index.
QString numberedWords(int last)
{
    QStringList words;
    for (int i = 0; i <= last; ++i)
        words << QStringLiteral("w%1").arg(i);
    return words.join(QLatin1Char(' '));
}

// The fixed state of TestEnvironment's generator draws 0.51531774 and 0.30784625 first.
const QString numbered = numberedWords(29);

QStringList wordsOf(const QString& text)
{
    const SeedWords words(text);
    QStringList list;
    for (qsizetype i = 0; i < words.size(); ++i)
        list << words.at(i).toString();
    return list;
}

} // namespace

class tst_Seed : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    // Words, runs and the generator, without a window.
    void splitAtSingleSpaces_data();
    void splitAtSingleSpaces();
    void splitIsReusedOnlyForTheSameText();
    void longSeedFindsEveryWord();
    void run_data();
    void run();
    void caretPosition_data();
    void caretPosition();
    void generatorReseedDoesNotRestart();

    // Reading seed files and finding the shipped ones.
    void decode_data();
    void decode();
    void windows1252MatchesIconv();
    void shippedSeedPathRule_data();
    void shippedSeedPathRule();
    void shippedSeedsArePlainPassages_data();
    void shippedSeedsArePlainPassages();

    // The injection in the window.
    void injectWithoutSeedWarnsAndTouchesNothing();
    void oneLetterSeedWarnsAfterLoading();
    void firstRunFromFixedState_data();
    void firstRunFromFixedState();
    void selectionIsReplacedWithTwoDraws();
    void emptySelectionGoesToDrawnPosition();
    void twoInjectionsInARowDiffer();
    void injectionsNeverSplitACharacter();

    // The Seed menu.
    void shippedSeedMarks_data();
    void shippedSeedMarks();
    void marksAreSetBeforeOrAfterTheInjection_data();
    void marksAreSetBeforeOrAfterTheInjection();
    void sameSeedTwiceReadsTheFileAgain();
    void newSeedSetsOnlyItsOwnDialogProperties();
    void newSeedCancelledKeepsSeedAndClearsMarks();
    void unreadableSeedRestoresMarks_data();
    void unreadableSeedRestoresMarks();
    void keysWhileEditorHasFocus();

    // The Timer menu and the tick.
    void intervalsRefusedWithoutSeed_data();
    void intervalsRefusedWithoutSeed();
    void intervalsSetWithSeed_data();
    void intervalsSetWithSeed();
    void freezeBlockAlwaysAccepted();
    void refusedIntervalKeepsRunningTimer();
    void oneCharacterSeedRunsTimerThatWarns();
    void tickInjects();

    // The run just written, shown until the writer goes on.
    void injectedRunIsMarkedUntilTheNextKeyOrClick();

private:
    frmVellumo* windowWithSeeds();
    void loadNewSeed(frmVellumo* w, const QByteArray& content);
    QStringList checkedSeeds(frmVellumo* w) const;
    QStringList checkedIntervals(frmVellumo* w) const;
    static RandomGenerator fixedAfterDraws(bool reseed, int draws);

    std::unique_ptr<TestEnvironment> m_env;
};

// A window whose program folder holds its own data/ with known seeds.
frmVellumo* tst_Seed::windowWithSeeds()
{
    m_env->programDir = m_env->path(QStringLiteral("program"));
    writeTestFile(m_env->programDir + "/data/seedone.txt", "sea fog lamp");
    writeTestFile(m_env->programDir + "/data/seedtwo.txt", "kitchen lemon\r\njug spoon");
    writeTestFile(m_env->programDir + "/data/seedthree.txt", numbered.toUtf8());
    return m_env->window();
}

void tst_Seed::loadNewSeed(frmVellumo* w, const QByteArray& content)
{
    const QString path = m_env->path(QStringLiteral("seed-%1.txt").arg(m_env->dialog.shown.size()));
    writeTestFile(path, content);
    m_env->dialog.queueFileName(path);
    action(w, "mnuNewSeed")->trigger();
}

QStringList tst_Seed::checkedSeeds(frmVellumo* w) const
{
    QStringList names;
    for (const char* name : {"mnuNewSeed", "mnuSeedOne", "mnuSeedTwo", "mnuSeedThree"})
        if (action(w, name)->isChecked())
            names << QLatin1String(name);
    return names;
}

QStringList tst_Seed::checkedIntervals(frmVellumo* w) const
{
    QStringList names;
    for (const char* name :
         {"mnu0Sec", "mnu600Sec", "mnu300Sec", "mnu30Sec", "mnu20Sec", "mnu10Sec"})
        if (action(w, name)->isChecked())
            names << QLatin1String(name);
    return names;
}

// The environment's fixed generator after one injection's worth of use.
RandomGenerator tst_Seed::fixedAfterDraws(bool reseed, int draws)
{
    RandomGenerator replay = TestEnvironment().random;
    if (reseed)
        replay.reseed(221);
    for (int i = 0; i < draws; ++i)
        replay.draw();
    return replay;
}

void tst_Seed::splitAtSingleSpaces_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("nominal: words between single spaces")
        << "sea fog lamp" << QStringList{"sea", "fog", "lamp"};
    QTest::newRow("nominal: two letters are one word") << "ab" << QStringList{"ab"};
    QTest::newRow("edge: two spaces give an empty word")
        << "one  two" << QStringList{"one", "", "two"};
    QTest::newRow("edge: spaces at both ends give empty words")
        << " a " << QStringList{"", "a", ""};
    QTest::newRow("edge: line breaks and tabs stay inside words")
        << "one two\r\nthree\tfour" << QStringList{"one", "two\r\nthree\tfour"};
    QTest::newRow("edge: a no-break space separates nothing")
        << QStringLiteral("a\u00a0b c") << QStringList{QStringLiteral("a\u00a0b"), "c"};
    QTest::newRow("edge: spaces only") << "  " << QStringList{"", "", ""};
    QTest::newRow("edge: empty text has no words") << "" << QStringList{};
}

void tst_Seed::splitAtSingleSpaces()
{
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    QCOMPARE(wordsOf(text), words);
}

void tst_Seed::splitIsReusedOnlyForTheSameText()
{
    QString seed = QStringLiteral("sea fog");
    const SeedWords words(seed);
    QString copy = seed;
    QVERIFY(words.isSplitOf(copy));
    copy[0] = QLatin1Char('t');
    QVERIFY2(!words.isSplitOf(copy), "a text changed in place must be split again");
    QVERIFY(!words.isSplitOf(QStringLiteral("sea")));
    seed.clear();
    QCOMPARE(words.at(1), QStringLiteral("fog"));
}

// Only some word positions are kept; every other word is found by walking on from them.
void tst_Seed::longSeedFindsEveryWord()
{
    QStringList expected;
    for (int i = 0; i < 300; ++i)
        expected << (i % 7 == 0 ? QString() : QStringLiteral("w%1").arg(i));
    const QString text = expected.join(QLatin1Char(' '));
    QCOMPARE(wordsOf(text), expected);

    const SeedWords words(text);
    SeedWords::Cursor cursor = words.cursorAt(60);
    for (qsizetype i : {60, 61, 61, 63, 64, 65, 127, 128, 129, 299}) {
        cursor.advanceTo(i);
        QCOMPARE(cursor.index(), i);
        QCOMPARE(cursor.word(), expected[i]);
    }
}

void tst_Seed::run_data()
{
    QTest::addColumn<QString>("seed");
    QTest::addColumn<float>("r1");
    QTest::addColumn<float>("r2");
    QTest::addColumn<QString>("run");

    const QString w0to20 = numberedWords(20);
    const QString w0to100 = numberedWords(100);

    QTest::newRow("nominal: one word is written with a space") << "ab" << 0.9f << 0.9f << "ab ";
    QTest::newRow("nominal: two one-letter words, start rounds down")
        << "a b" << 0.25f << 0.9f << "a ";
    QTest::newRow("nominal: two one-letter words, start rounds up")
        << "a b" << 0.75f << 0.0f << "b ";
    QTest::newRow("edge: count of exactly 10 is kept, 11 words")
        << w0to20 << 0.0f << 0.5f << "w0 w1 w2 w3 w4 w5 w6 w7 w8 w9 w10 ";
    QTest::newRow("edge: count just above 10 is divided by 10")
        << w0to20 << 0.0f << 0.55f << "w0 w1 ";
    QTest::newRow("edge: a long run is a tenth of the rest, plus one")
        << w0to100 << 0.5f << 0.9f << "w50 w51 w52 w53 w54 ";
    QTest::newRow("edge: half fractions round to even, repeating and skipping")
        << "w0 w1 w2 w3 w4 w5 w6 w7 w8 w9 w10" << 0.25f << 0.5f << "w2 w4 w4 w6 ";
    QTest::newRow("edge: draws are widened before multiplying")
        << "w0 w1 w2 w3 w4 w5" << 0.1f << 0.0f << "w1 ";
    QTest::newRow("edge: the highest draws stay inside the list")
        << w0to20 << 0.99999994f << 0.99999994f << "w20 ";
    QTest::newRow("edge: an empty word writes two spaces in a row")
        << "one  two" << 0.0f << 0.5f << "one  ";
    QTest::newRow("edge: a line break inside a piece is written")
        << "one two\nthree" << 0.75f << 0.0f << "two\nthree ";
    QTest::newRow("edge: spaces only write spaces only") << "   " << 0.0f << 0.99f << "   ";
}

void tst_Seed::run()
{
    QFETCH(QString, seed);
    QFETCH(float, r1);
    QFETCH(float, r2);
    QFETCH(QString, run);
    QCOMPARE(SeedRun::build(SeedWords(seed), r1, r2), run);
}

void tst_Seed::caretPosition_data()
{
    QTest::addColumn<float>("r3");
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<qint64>("position");

    QTest::newRow("nominal: start") << 0.0f << qsizetype(500) << qint64(0);
    QTest::newRow("nominal: inside") << 0.25f << qsizetype(500) << qint64(125);
    QTest::newRow("edge: half goes to the even neighbour below")
        << 0.5f << qsizetype(5) << qint64(2);
    QTest::newRow("edge: half goes to the even neighbour above")
        << 0.5f << qsizetype(7) << qint64(4);
    QTest::newRow("edge: the highest draw reaches the length")
        << 0.99999994f << qsizetype(1000) << qint64(1000);
    QTest::newRow("edge: draw widened before multiplying") << 0.1f << qsizetype(5) << qint64(1);
}

void tst_Seed::caretPosition()
{
    QFETCH(float, r3);
    QFETCH(qsizetype, length);
    QFETCH(qint64, position);
    QCOMPARE(SeedRun::caretPosition(r3, length), position);
}

void tst_Seed::generatorReseedDoesNotRestart()
{
    RandomGenerator a(20261207);
    RandomGenerator b(20261207);
    a.reseed(221);
    b.reseed(221);
    const float first = a.draw();
    QCOMPARE(b.draw(), first);
    a.reseed(221);
    QVERIFY2(a.draw() != first, "reseeding with 221 again must not repeat the sequence");

    RandomGenerator c(1);
    for (int i = 0; i < 100000; ++i) {
        const float r = c.draw();
        QVERIFY(r >= 0.0f && r < 1.0f);
    }
}

void tst_Seed::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("nominal: UTF-8")
        << QByteArray("caf\xc3\xa9 na\xc3\xafve") << QStringLiteral("caf\u00e9 na\u00efve");
    QTest::newRow("nominal: line breaks kept as they stand")
        << QByteArray("a\r\nb\rc\n") << QStringLiteral("a\r\nb\rc\n");
    QTest::newRow("edge: not UTF-8 reads as Windows-1252")
        << QByteArray("caf\xe9 \x93q\x94 \x80") << QStringLiteral("caf\u00e9 \u201cq\u201d \u20ac");
    QTest::newRow("nominal: UTF-16 little-endian after its byte-order mark")
        << QByteArray("\xff\xfe"
                      "a\0 \0\xac\x20",
                      8)
        << QStringLiteral("a \u20ac");
    QTest::newRow("nominal: UTF-16 big-endian after its byte-order mark")
        << QByteArray("\xfe\xff\0a\0 \x20\xac", 8) << QStringLiteral("a \u20ac");
    QTest::newRow("edge: UTF-8 byte-order mark is dropped") << QByteArray("\xef\xbb\xbf"
                                                                          "a")
                                                            << QStringLiteral("a");
    QTest::newRow("robustness: NUL bytes are no text") << QByteArray("a\0b", 3) << QString();
    QTest::newRow("robustness: UTF-16 cut off inside a character") << QByteArray("\xff\xfe"
                                                                                 "a\0b",
                                                                                 5)
                                                                   << QString();
    QTest::newRow("robustness: binary without NUL bytes") << QByteArray("\x7f"
                                                                        "ELF\x02\x01\x01\x03\x04")
                                                          << QString();
    QTest::newRow("edge: sequence cut off at the end is not UTF-8")
        << QByteArray("ab\xc3") << QStringLiteral("ab\u00c3");
    QTest::newRow("edge: unassigned Windows-1252 bytes keep their value")
        << QByteArray("\x81\x8d\x8f\x90\x9d") << QStringLiteral("\u0081\u008d\u008f\u0090\u009d");
    QTest::newRow("edge: empty file") << QByteArray() << QStringLiteral("");
    QTest::newRow("edge: the end-of-file mark of an old DOS file")
        << QByteArray("sea fog lamp\r\n\x1a") << QStringLiteral("sea fog lamp\r\n\u001a");
}

void tst_Seed::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const QString path = m_env->path(QStringLiteral("seed.txt"));
    writeTestFile(path, bytes);
    SeedFile file;
    QCOMPARE(file.read(path), !text.isNull());
    QCOMPARE(file.takeText(), text);
    QCOMPARE(file.errorString(),
             text.isNull() ? QStringLiteral("it is not a text file") : QString());
}

// Windows-1252 against glibc's table; the five bytes it leaves out keep their C1 control.
void tst_Seed::windows1252MatchesIconv()
{
    iconv_t cp1252 = iconv_open("UTF-16LE", "CP1252");
    QVERIFY(cp1252 != iconv_t(-1));
    for (int byte = 0x80; byte < 0xa0; ++byte) {
        char in = char(byte);
        char16_t out = 0;
        char* inPtr = &in;
        char* outPtr = reinterpret_cast<char*>(&out);
        size_t inLeft = 1;
        size_t outLeft = sizeof out;
        const bool defined = iconv(cp1252, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1);
        const QChar expected = defined ? QChar(out) : QChar(byte);
        // High bytes alone are never valid UTF-8, so the 8-bit reading applies.
        QCOMPARE(TextDecoding::decode(QByteArray(1, in)).value_or(QString()), QString(expected));
    }
    iconv_close(cp1252);
}

void tst_Seed::shippedSeedPathRule_data()
{
    // Folders made under a fresh root; the program sits in root/prefix/bin.
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nominal: data/ beside the program, as in the build tree")
        << QStringList{"prefix/bin/data"} << "prefix/bin/data";
    QTest::newRow("nominal: an install moved to another prefix")
        << QStringList{"prefix/share/quillmere/data"} << "prefix/share/quillmere/data";
    QTest::newRow("nominal: data/ beside the program comes first")
        << QStringList{"prefix/bin/data", "prefix/share/quillmere/data"} << "prefix/bin/data";
    QTest::newRow("robustness: neither folder, so the configured one")
        << QStringList{"prefix/share/other"} << "configured";
}

void tst_Seed::shippedSeedPathRule()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, expected);
    QTemporaryDir root;
    const QString program = root.filePath(QStringLiteral("prefix/bin"));
    const QString configured = root.filePath(QStringLiteral("configured"));
    QDir().mkpath(program);
    for (const QString& folder : folders)
        QDir().mkpath(root.filePath(folder));
    QCOMPARE(SeedPath::shippedSeed("seedone.txt", program, configured),
             root.filePath(expected) + "/seedone.txt");
    QCOMPARE(SeedPath::shippedSeed("seedtwo.txt", root.filePath("none")),
             QStringLiteral(QUILLMERE_DATADIR "/seedtwo.txt"));
}

void tst_Seed::shippedSeedsArePlainPassages_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("nominal: seedone.txt") << "seedone.txt";
    QTest::newRow("nominal: seedtwo.txt") << "seedtwo.txt";
    QTest::newRow("nominal: seedthree.txt") << "seedthree.txt";
}

void tst_Seed::shippedSeedsArePlainPassages()
{
    QFETCH(QString, name);
    SeedFile file;
    QVERIFY2(file.read(QStringLiteral(QUILLMERE_SOURCE_DATADIR "/") + name),
             qPrintable(file.errorString()));
    const QString text = file.takeText();
    const QStringList words = wordsOf(text);
    QVERIFY2(words.size() >= 400, qPrintable(QString::number(words.size())));
    QVERIFY2(!words.contains(QString()), "words are separated by single spaces");
    for (QChar c : text)
        QVERIFY2(c.unicode() == '\n' || (c.unicode() >= 0x20 && c.unicode() < 0x7f),
                 "plain printable text");
}

void tst_Seed::injectWithoutSeedWarnsAndTouchesNothing()
{
    frmVellumo* w = m_env->window();
    txtFile(w)->setTextRTF(QStringLiteral("draft"));
    const std::uint64_t state = m_env->random.state();

    action(w, "mnuInject")->trigger();

    QCOMPARE(m_env->messages.boxes.size(), 1);
    QCOMPARE(m_env->messages.boxes[0].prompt, noSeed);
    QCOMPARE(m_env->messages.boxes[0].icon, MessageService::Icon::Warning);
    QCOMPARE(m_env->messages.boxes[0].title, QStringLiteral("Quillmere"));
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("draft"));
    QCOMPARE(m_env->random.state(), state);
}

void tst_Seed::oneLetterSeedWarnsAfterLoading()
{
    frmVellumo* w = m_env->window();
    const std::uint64_t state = m_env->random.state();
    loadNewSeed(w, "x");

    QCOMPARE(seed(w)->seedText(), QStringLiteral("x"));
    QCOMPARE(m_env->messages.boxes.size(), 1);
    QCOMPARE(m_env->messages.boxes[0].prompt, noSeed);
    QCOMPARE(txtFile(w)->Text(), QString());
    QCOMPARE(m_env->random.state(), state);
    QCOMPARE(checkedSeeds(w), QStringList{"mnuNewSeed"});
}

void tst_Seed::firstRunFromFixedState_data()
{
    QTest::addColumn<QByteArray>("seed");
    QTest::addColumn<QString>("text");

    QTest::newRow("nominal: two letters") << QByteArray("ab") << "ab ";
    QTest::newRow("nominal: two one-letter words") << QByteArray("a b") << "b ";
    QTest::newRow("nominal: a run of five") << numbered.toUtf8() << "w15 w16 w17 w18 w19 ";
    QTest::newRow("edge: an empty word writes two spaces")
        << QByteArray("w0 w1 w2 w3 w4  w6 w7") << "w4  ";
    QTest::newRow("edge: a line break inside a piece")
        << QByteArray("one two\nthree") << "two\nthree ";
    QTest::newRow("edge: spaces only") << QByteArray("   ") << " ";
}

// An empty document takes the run as its whole text, wherever the caret was drawn to go.
void tst_Seed::firstRunFromFixedState()
{
    QFETCH(QByteArray, seed);
    QFETCH(QString, text);
    frmVellumo* w = m_env->window();
    loadNewSeed(w, seed);

    QCOMPARE(txtFile(w)->Text(), text);
    QCOMPARE(m_env->messages.boxes.size(), 0);
    QCOMPARE(m_env->random.state(), fixedAfterDraws(true, 3).state());
}

void tst_Seed::selectionIsReplacedWithTwoDraws()
{
    frmVellumo* w = m_env->window();
    loadNewSeed(w, numbered.toUtf8());
    txtFile(w)->setTextRTF(QStringLiteral("Hello world, again"));
    txtFile(w)->setSelStart(6);
    txtFile(w)->setSelLength(5);
    RandomGenerator replay = m_env->random;

    action(w, "mnuInject")->trigger();

    QCOMPARE(txtFile(w)->Text(), QStringLiteral("Hello w16 , again"));
    replay.reseed(221);
    replay.draw();
    replay.draw();
    QCOMPARE(m_env->random.state(), replay.state());
}

void tst_Seed::emptySelectionGoesToDrawnPosition()
{
    frmVellumo* w = m_env->window();
    loadNewSeed(w, numbered.toUtf8());
    const QString before = QStringLiteral("0123456789").repeated(200);
    txtFile(w)->setTextRTF(before);
    txtFile(w)->setSelStart(0);
    const qsizetype rtfLength = txtFile(w)->TextRTF().size();
    RandomGenerator replay = m_env->random;

    action(w, "mnuInject")->trigger();

    replay.reseed(221);
    replay.draw();
    replay.draw();
    const qint64 drawn = std::llround(double(replay.draw()) * double(rtfLength));
    QVERIFY2(drawn < before.size(), "the drawn place should fall inside this document");
    QCOMPARE(txtFile(w)->Text(), QString(before).insert(drawn, QStringLiteral("w16 ")));
    QCOMPARE(m_env->random.state(), replay.state());
}

void tst_Seed::twoInjectionsInARowDiffer()
{
    frmVellumo* w = m_env->window();
    SeedFile shipped;
    QVERIFY(shipped.read(QStringLiteral(QUILLMERE_SOURCE_DATADIR "/seedone.txt")));
    loadNewSeed(w, shipped.takeText().toUtf8());
    const QString first = txtFile(w)->Text();
    txtFile(w)->setTextRTF(QString());

    action(w, "mnuInject")->trigger();

    QCOMPARE(first, QStringLiteral("and then agree to share the street. In "));
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("It pulls back to "));
}

// Runs land between characters only: no surrogate pair or letter and its mark comes apart.
void tst_Seed::injectionsNeverSplitACharacter()
{
    frmVellumo* w = m_env->window();
    loadNewSeed(w, QStringLiteral("\U0001F331").toUtf8());
    txtFile(w)->setTextRTF(QStringLiteral("\U0001F600e\u0301").repeated(100));
    // The place is drawn over the length of the RTF, so most runs go to the end; enough
    // land inside the text.
    for (int i = 0; i < 200; ++i) {
        txtFile(w)->setSelLength(0);
        action(w, "mnuInject")->trigger();
    }
    const QString injected = txtFile(w)->Text();
    QVERIFY(QStringView(injected).isValidUtf16());
    QCOMPARE(injected.count(QStringLiteral("e\u0301")), 100);
}

void tst_Seed::shippedSeedMarks_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("seed");

    QTest::newRow("nominal: Seed One") << "mnuSeedOne"
                                       << "sea fog lamp";
    QTest::newRow("nominal: Seed Two keeps its line break") << "mnuSeedTwo"
                                                            << "kitchen lemon\r\njug spoon";
    QTest::newRow("nominal: Seed Three") << "mnuSeedThree" << numbered;
}

void tst_Seed::shippedSeedMarks()
{
    QFETCH(QString, entry);
    QFETCH(QString, seed);
    frmVellumo* w = windowWithSeeds();
    action(w, "mnuNewSeed")->setChecked(true);
    for (QAction* other :
         {action(w, "mnuSeedOne"), action(w, "mnuSeedTwo"), action(w, "mnuSeedThree")})
        if (other->objectName() != entry)
            other->trigger();

    txtFile(w)->setTextRTF(QString());
    w->findChild<QAction*>(entry)->trigger();

    QCOMPARE(checkedSeeds(w), QStringList{entry});
    QCOMPARE(::seed(w)->seedText(), seed);
    const QString run = txtFile(w)->Text();
    QVERIFY(run.endsWith(QLatin1Char(' ')));
    QVERIFY2(QString(seed).replace("\r\n", "\n").contains(run.chopped(1)), qPrintable(run));
    QCOMPARE(m_env->messages.boxes.size(), 0);
}

void tst_Seed::marksAreSetBeforeOrAfterTheInjection_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("markedAfterRun");

    QTest::newRow("nominal: Seed One marks before reading") << "mnuSeedOne" << false;
    QTest::newRow("nominal: Seed Two marks before reading") << "mnuSeedTwo" << false;
    QTest::newRow("nominal: Seed Three marks after its run") << "mnuSeedThree" << true;
}

void tst_Seed::marksAreSetBeforeOrAfterTheInjection()
{
    QFETCH(QString, entry);
    QFETCH(bool, markedAfterRun);
    frmVellumo* w = windowWithSeeds();
    QAction* action = w->findChild<QAction*>(entry);
    QString textWhenMarked;
    connect(action, &QAction::toggled, this, [&](bool on) {
        if (on)
            textWhenMarked = txtFile(w)->Text();
    });

    action->trigger();

    QVERIFY(!txtFile(w)->Text().isEmpty());
    QCOMPARE(textWhenMarked == txtFile(w)->Text(), markedAfterRun);
    QCOMPARE(textWhenMarked.isEmpty(), !markedAfterRun);
}

void tst_Seed::sameSeedTwiceReadsTheFileAgain()
{
    frmVellumo* w = windowWithSeeds();
    action(w, "mnuSeedOne")->trigger();
    QCOMPARE(seed(w)->seedText(), QStringLiteral("sea fog lamp"));
    writeTestFile(m_env->programDir + "/data/seedone.txt", "ab");
    txtFile(w)->setSelStart(0);
    const QString firstRun = txtFile(w)->Text();

    action(w, "mnuSeedOne")->trigger();

    QCOMPARE(seed(w)->seedText(), QStringLiteral("ab"));
    QCOMPARE(txtFile(w)->Text().size(), firstRun.size() + 3);
    QCOMPARE(checkedSeeds(w), QStringList{"mnuSeedOne"});
}

void tst_Seed::newSeedSetsOnlyItsOwnDialogProperties()
{
    frmVellumo* w = m_env->window();
    m_env->dialog.DefaultExt = QStringLiteral("doc");
    m_env->dialog.Flags = 264;
    m_env->dialog.CancelError = true;
    bool markedBeforeDialog = false;
    connect(action(w, "mnuNewSeed"), &QAction::toggled, this, [&](bool on) {
        if (on)
            markedBeforeDialog = m_env->dialog.shown.isEmpty();
    });
    loadNewSeed(w, "ab");

    QCOMPARE(m_env->dialog.shown.size(), 1);
    const FakeCommonDialog::Shown& shown = m_env->dialog.shown[0];
    QCOMPARE(shown.kind, QStringLiteral("open"));
    QCOMPARE(shown.title, QStringLiteral("Open"));
    QCOMPARE(shown.filter, QStringLiteral("All Files (*.txt)|*.txt"));
    QCOMPARE(shown.cancelError, false);
    QCOMPARE(shown.defaultExt, QStringLiteral("doc"));
    QCOMPARE(shown.flags, 264);
    QVERIFY(markedBeforeDialog);
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("ab "));
}

void tst_Seed::newSeedCancelledKeepsSeedAndClearsMarks()
{
    frmVellumo* w = windowWithSeeds();
    action(w, "mnuSeedOne")->trigger();
    txtFile(w)->setTextRTF(QString());
    m_env->dialog.queueCancel();

    action(w, "mnuNewSeed")->trigger();

    QCOMPARE(checkedSeeds(w), QStringList{});
    QCOMPARE(seed(w)->seedText(), QStringLiteral("sea fog lamp"));
    QCOMPARE(txtFile(w)->Text(), QString());
    QCOMPARE(m_env->messages.boxes.size(), 0);

    action(w, "mnuInject")->trigger();
    QVERIFY(!txtFile(w)->Text().isEmpty());
}

void tst_Seed::unreadableSeedRestoresMarks_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("file");

    QTest::newRow("robustness: New Seed file vanished") << "mnuNewSeed"
                                                        << "user/gone.txt";
    QTest::newRow("robustness: New Seed given a folder") << "mnuNewSeed"
                                                         << "user";
    QTest::newRow("robustness: seedtwo.txt missing") << "mnuSeedTwo"
                                                     << "program/data/seedtwo.txt";
    QTest::newRow("robustness: seedthree.txt missing") << "mnuSeedThree"
                                                       << "program/data/seedthree.txt";
    QTest::newRow("robustness: seedtwo.txt is not text") << "mnuSeedTwo"
                                                         << "program/data/seedtwo.txt binary";
}

void tst_Seed::unreadableSeedRestoresMarks()
{
    QFETCH(QString, entry);
    QFETCH(QString, file);
    frmVellumo* w = windowWithSeeds();
    QDir().mkpath(m_env->path(QStringLiteral("user")));
    action(w, "mnuSeedOne")->trigger();
    txtFile(w)->setTextRTF(QStringLiteral("kept"));
    const bool binary = file.endsWith(QLatin1String(" binary"));
    const QString path = m_env->path(file.remove(QLatin1String(" binary")));
    QFile::remove(path);
    if (binary)
        writeTestFile(path, QByteArray("PK\x03\x04\0\0", 6));
    if (entry == QLatin1String("mnuNewSeed"))
        m_env->dialog.queueFileName(path);

    w->findChild<QAction*>(entry)->trigger();

    QCOMPARE(m_env->messages.boxes.size(), 1);
    QVERIFY2(m_env->messages.boxes[0].prompt.contains(QDir::toNativeSeparators(path)),
             qPrintable(m_env->messages.boxes[0].prompt));
    QVERIFY(m_env->messages.boxes[0].prompt.size() > path.size() + 30);
    QCOMPARE(checkedSeeds(w), QStringList{"mnuSeedOne"});
    QCOMPARE(seed(w)->seedText(), QStringLiteral("sea fog lamp"));
    QCOMPARE(txtFile(w)->Text(), QStringLiteral("kept"));
}

// The editor would paste on Shift+Ins; the menu's shortcuts win while it has the focus.
void tst_Seed::keysWhileEditorHasFocus()
{
    frmVellumo* w = m_env->window();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    txtFile(w)->SetFocus();
    QVERIFY(txtFile(w)->hasFocus());

    QTest::keyClick(txtFile(w), Qt::Key_F8);
    QCOMPARE(m_env->messages.boxes.size(), 1);
    QCOMPARE(m_env->messages.boxes[0].prompt, noSeed);

    m_env->dialog.queueCancel();
    QTest::keyClick(txtFile(w), Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(m_env->dialog.shown.size(), 1);
    QCOMPARE(m_env->dialog.shown[0].title, QStringLiteral("Open"));
    QCOMPARE(txtFile(w)->Text(), QString());
}

void tst_Seed::intervalsRefusedWithoutSeed_data()
{
    QTest::addColumn<QString>("entry");
    for (const char* entry : {"mnu10Sec", "mnu20Sec", "mnu30Sec", "mnu300Sec", "mnu600Sec"})
        QTest::newRow(qPrintable(QStringLiteral("robustness: %1 without seed").arg(entry)))
            << QString::fromLatin1(entry);
}

void tst_Seed::intervalsRefusedWithoutSeed()
{
    QFETCH(QString, entry);
    frmVellumo* w = m_env->window();

    w->findChild<QAction*>(entry)->trigger();

    QCOMPARE(m_env->messages.boxes.size(), 1);
    QCOMPARE(m_env->messages.boxes[0].prompt, noSeed);
    QCOMPARE(m_env->messages.boxes[0].icon, MessageService::Icon::Warning);
    QCOMPARE(m_env->messages.boxes[0].title, QStringLiteral("Quillmere"));
    QCOMPARE(Timer1(w)->interval(), 0);
    QVERIFY(!Timer1(w)->isActive());
    QCOMPARE(checkedIntervals(w), QStringList{});
}

void tst_Seed::intervalsSetWithSeed_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("interval");

    QTest::newRow("nominal: 10 seconds") << "mnu10Sec" << 10000;
    QTest::newRow("nominal: 20 seconds") << "mnu20Sec" << 20000;
    QTest::newRow("nominal: 30 seconds") << "mnu30Sec" << 30000;
    QTest::newRow("nominal: 5 minutes") << "mnu300Sec" << 300000;
    QTest::newRow("nominal: 10 minutes") << "mnu600Sec" << 600000;
}

// Each entry replaces the one in force.
void tst_Seed::intervalsSetWithSeed()
{
    QFETCH(QString, entry);
    QFETCH(int, interval);
    frmVellumo* w = m_env->window();
    loadNewSeed(w, "ab");
    action(w, "mnu600Sec")->trigger();
    QCOMPARE(Timer1(w)->interval(), 600000);

    w->findChild<QAction*>(entry)->trigger();

    QCOMPARE(Timer1(w)->interval(), interval);
    QVERIFY(Timer1(w)->isActive());
    QCOMPARE(checkedIntervals(w), QStringList{entry});
    QCOMPARE(m_env->messages.boxes.size(), 0);

    action(w, "mnu0Sec")->trigger();
    QCOMPARE(Timer1(w)->interval(), 0);
    QVERIFY(!Timer1(w)->isActive());
    QCOMPARE(checkedIntervals(w), QStringList{"mnu0Sec"});
}

void tst_Seed::freezeBlockAlwaysAccepted()
{
    frmVellumo* w = m_env->window();
    QCOMPARE(checkedIntervals(w), QStringList{});

    action(w, "mnu0Sec")->trigger();
    action(w, "mnu0Sec")->trigger();

    QCOMPARE(Timer1(w)->interval(), 0);
    QVERIFY(!Timer1(w)->isActive());
    QCOMPARE(checkedIntervals(w), QStringList{"mnu0Sec"});
    QCOMPARE(m_env->messages.boxes.size(), 0);
}

void tst_Seed::refusedIntervalKeepsRunningTimer()
{
    frmVellumo* w = m_env->window();
    loadNewSeed(w, "ab");
    action(w, "mnu10Sec")->trigger();
    loadNewSeed(w, "");
    QCOMPARE(m_env->messages.boxes.size(), 1);
    QCOMPARE(checkedSeeds(w), QStringList{"mnuNewSeed"});

    action(w, "mnu20Sec")->trigger();

    QCOMPARE(m_env->messages.boxes.size(), 2);
    QCOMPARE(m_env->messages.boxes[1].prompt, noSeed);
    QCOMPARE(Timer1(w)->interval(), 10000);
    QVERIFY(Timer1(w)->isActive());
    QCOMPARE(checkedIntervals(w), QStringList{"mnu10Sec"});
}

void tst_Seed::oneCharacterSeedRunsTimerThatWarns()
{
    frmVellumo* w = m_env->window();
    loadNewSeed(w, "x");
    QCOMPARE(m_env->messages.boxes.size(), 1);

    action(w, "mnu30Sec")->trigger();
    QCOMPARE(Timer1(w)->interval(), 30000);
    QCOMPARE(checkedIntervals(w), QStringList{"mnu30Sec"});
    QCOMPARE(m_env->messages.boxes.size(), 1);

    seed(w)->Timer1_Timer();

    QCOMPARE(m_env->messages.boxes.size(), 2);
    QCOMPARE(m_env->messages.boxes[1].prompt, noSeed);
    QCOMPARE(Timer1(w)->interval(), 30000);
    QVERIFY(Timer1(w)->isActive());
    QCOMPARE(txtFile(w)->Text(), QString());
}

// The timer's own timeout drives the tick; nothing waits for a real period.
void tst_Seed::tickInjects()
{
    frmVellumo* w = m_env->window();
    QVERIFY(QMetaObject::invokeMethod(Timer1(w), "timeout"));
    QCOMPARE(m_env->messages.boxes.size(), 1);

    loadNewSeed(w, numbered.toUtf8());
    action(w, "mnu10Sec")->trigger();
    txtFile(w)->setTextRTF(QString());

    QVERIFY(QMetaObject::invokeMethod(Timer1(w), "timeout"));

    QCOMPARE(txtFile(w)->Text(), QStringLiteral("w16 "));
    QCOMPARE(Timer1(w)->interval(), 10000);
    QVERIFY(Timer1(w)->isActive());
    QCOMPARE(m_env->messages.boxes.size(), 1);
}

// Drawn over the text beside the spelling underline, never stored, and gone at the next key
// press or click in the editor.
void tst_Seed::injectedRunIsMarkedUntilTheNextKeyOrClick()
{
    frmVellumo* w = windowWithSeeds();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    txtFile(w)->SetFocus();
    QTest::keyClicks(txtFile(w), "teh ");
    QTRY_COMPARE(marks(w)->marks(EditorMarks::Spelling).size(), 1);
    const QString before = txtFile(w)->Text();
    const auto marked = [w] {
        const QList<QTextEdit::ExtraSelection> run = marks(w)->marks(EditorMarks::Injection);
        return run.isEmpty() ? QString() : run.constFirst().cursor.selectedText();
    };

    action(w, "mnuSeedOne")->trigger();
    const QString written = txtFile(w)->Text();
    QVERIFY(written.size() > before.size());
    QVERIFY(!marked().isEmpty());
    // What the mark covers is exactly what the injection added.
    QCOMPARE(QString(written).remove(txtFile(w)->SelStart() - marked().size(), marked().size()),
             before);
    const QTextEdit::ExtraSelection run = marks(w)->marks(EditorMarks::Injection).constFirst();
    QVERIFY(run.format.background().color().alpha() < 128);
    QCOMPARE(txtFile(w)->extraSelections().size(), 2);
    QVERIFY(!txtFile(w)->TextRTF().contains("\\highlight"));
    QVERIFY(!txtFile(w)->TextRTF().contains("\\cb"));

    QTest::keyClick(txtFile(w), Qt::Key_Right);
    QVERIFY(marked().isEmpty());
    QCOMPARE(txtFile(w)->extraSelections().size(), 1);

    QTest::keyClick(txtFile(w), Qt::Key_F8);
    QVERIFY(!marked().isEmpty());
    QTest::mouseClick(txtFile(w)->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
    QVERIFY(marked().isEmpty());
}

QTEST_MAIN(tst_Seed)
#include "tst_seed.moc"
