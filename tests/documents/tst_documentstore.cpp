#include "documents/DocumentStore.h"

#include <QTest>

/// The per-document store on its own: numbering, slots, the undo pair and unsaved changes.
class tst_DocumentStore : public QObject
{
    Q_OBJECT

private slots:
    void isFilePath_data();
    void isFilePath();
    void numbersOnlyGrow();
    void resizeKeepsSlotsAndAddsEmptyOnes();
    void undoTogglesBetweenTheLastTwoStates();
    void unchangedContentRecordsNothing();
    void modifiedMeansDifferentFromSaved();
};

void tst_DocumentStore::isFilePath_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isPath");

    QTest::newRow("nominal: absolute path") << "/home/ann/report.doc" << true;
    QTest::newRow("nominal: untitled name") << "Untitled12" << false;
    QTest::newRow("robustness: relative path") << "letters/report.doc" << false;
    QTest::newRow("robustness: drive letter means nothing here") << "C:\\report.doc" << false;
    QTest::newRow("robustness: network path") << "\\\\server\\share\\report.doc" << false;
    QTest::newRow("robustness: empty") << "" << false;
}

void tst_DocumentStore::isFilePath()
{
    QFETCH(QString, name);
    QFETCH(bool, isPath);
    QCOMPARE(DocumentStore::isFilePath(name), isPath);
}

void tst_DocumentStore::numbersOnlyGrow()
{
    DocumentStore store;
    store.reset(QByteArray("{blank}"));
    QCOMPARE(store.untitledCount(), 1);
    QCOMPARE(store.nextUntitledName(), QStringLiteral("Untitled2"));
    QCOMPARE(store.nextUntitledName(), QStringLiteral("Untitled3"));
    store.reset(QByteArray("{blank}"));
    QCOMPARE(store.nextUntitledName(), QStringLiteral("Untitled2"));
}

void tst_DocumentStore::resizeKeepsSlotsAndAddsEmptyOnes()
{
    DocumentStore store;
    store.reset(QByteArray("{blank}"));
    store.setDocRTF(0, QByteArray("zero"));
    store.setUndoRTF(0, QByteArray("was zero"));
    store.resize(3);
    QCOMPARE(store.count(), 3);
    QCOMPARE(store.docRTF(0), QByteArray("zero"));
    QCOMPARE(store.undoRTF(0), QByteArray("was zero"));
    QCOMPARE(store.docRTF(2), QByteArray());
    QCOMPARE(store.undoRTF(2), QByteArray());
    QVERIFY(!store.isModified(2, QByteArray()));
}

void tst_DocumentStore::undoTogglesBetweenTheLastTwoStates()
{
    DocumentStore store;
    store.reset(QByteArray("{blank}"));
    QVERIFY(store.recordChange(QByteArray("a")));
    QVERIFY(store.recordChange(QByteArray("ab")));
    QCOMPARE(store.undo(QByteArray("ab")), QByteArray("a"));
    QCOMPARE(store.undo(QByteArray("a")), QByteArray("ab"));
    QCOMPARE(store.undo(QByteArray("ab")), QByteArray("a"));

    // Unrecorded content (seed words) becomes the state the next Undo brings back.
    QCOMPARE(store.undo(QByteArray("a seed")), QByteArray("ab"));
    QCOMPARE(store.undo(QByteArray("ab")), QByteArray("a seed"));

    // Each document keeps its own pair.
    store.resize(2);
    store.setCurDoc(1);
    QCOMPARE(store.undo(QByteArray("other")), QByteArray());
    store.setCurDoc(0);
    QCOMPARE(store.undo(QByteArray("a seed")), QByteArray("ab"));
}

void tst_DocumentStore::unchangedContentRecordsNothing()
{
    DocumentStore store;
    store.reset(QByteArray("{blank}"));
    store.recordChange(QByteArray("one"));
    store.recordChange(QByteArray("two"));
    QVERIFY(!store.recordChange(QByteArray("two")));
    QCOMPARE(store.undoRTF(0), QByteArray("one"));
    QVERIFY(!store.recordChange(QByteArray("two")));
    QVERIFY2(store.recordChange(QByteArray("TWO")), "the comparison is case-sensitive");
}

void tst_DocumentStore::modifiedMeansDifferentFromSaved()
{
    DocumentStore store;
    store.reset(QByteArray("{blank}"));
    QVERIFY(!store.isModified(0, QByteArray()));
    QVERIFY(!store.isModified(0, QByteArray("{blank}")));
    QVERIFY(store.isModified(0, QByteArray("{text}")));
    store.markSaved(0, QByteArray("{text}"));
    QVERIFY(!store.isModified(0, QByteArray("{text}")));
    QVERIFY(store.isModified(0, QByteArray("{blank}")));
}

QTEST_GUILESS_MAIN(tst_DocumentStore)
#include "tst_documentstore.moc"
