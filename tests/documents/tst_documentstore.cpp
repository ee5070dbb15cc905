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
    store.reset(QStringLiteral("{blank}"));
    QCOMPARE(store.untitledCount(), 1);
    QCOMPARE(store.nextUntitledName(), QStringLiteral("Untitled2"));
    QCOMPARE(store.nextUntitledName(), QStringLiteral("Untitled3"));
    store.reset(QStringLiteral("{blank}"));
    QCOMPARE(store.nextUntitledName(), QStringLiteral("Untitled2"));
}

void tst_DocumentStore::resizeKeepsSlotsAndAddsEmptyOnes()
{
    DocumentStore store;
    store.reset(QStringLiteral("{blank}"));
    store.setDocRTF(0, QStringLiteral("zero"));
    store.setUndoRTF(0, QStringLiteral("was zero"));
    store.resize(3);
    QCOMPARE(store.count(), 3);
    QCOMPARE(store.docRTF(0), QStringLiteral("zero"));
    QCOMPARE(store.undoRTF(0), QStringLiteral("was zero"));
    QCOMPARE(store.docRTF(2), QString());
    QCOMPARE(store.undoRTF(2), QString());
    QVERIFY(!store.isModified(2, QString()));
}

void tst_DocumentStore::undoTogglesBetweenTheLastTwoStates()
{
    DocumentStore store;
    store.reset(QStringLiteral("{blank}"));
    QVERIFY(store.recordChange(QStringLiteral("a")));
    QVERIFY(store.recordChange(QStringLiteral("ab")));
    QCOMPARE(store.undo(QStringLiteral("ab")), QStringLiteral("a"));
    QCOMPARE(store.undo(QStringLiteral("a")), QStringLiteral("ab"));
    QCOMPARE(store.undo(QStringLiteral("ab")), QStringLiteral("a"));

    // Unrecorded content (seed words) becomes the state the next Undo brings back.
    QCOMPARE(store.undo(QStringLiteral("a seed")), QStringLiteral("ab"));
    QCOMPARE(store.undo(QStringLiteral("ab")), QStringLiteral("a seed"));

    // Each document keeps its own pair.
    store.resize(2);
    store.setCurDoc(1);
    QCOMPARE(store.undo(QStringLiteral("other")), QString());
    store.setCurDoc(0);
    QCOMPARE(store.undo(QStringLiteral("a seed")), QStringLiteral("ab"));
}

void tst_DocumentStore::unchangedContentRecordsNothing()
{
    DocumentStore store;
    store.reset(QStringLiteral("{blank}"));
    store.recordChange(QStringLiteral("one"));
    store.recordChange(QStringLiteral("two"));
    QVERIFY(!store.recordChange(QStringLiteral("two")));
    QCOMPARE(store.undoRTF(0), QStringLiteral("one"));
    QVERIFY(!store.recordChange(QStringLiteral("two")));
    QVERIFY2(store.recordChange(QStringLiteral("TWO")), "the comparison is case-sensitive");
}

void tst_DocumentStore::modifiedMeansDifferentFromSaved()
{
    DocumentStore store;
    store.reset(QStringLiteral("{blank}"));
    QVERIFY(!store.isModified(0, QString()));
    QVERIFY(!store.isModified(0, QStringLiteral("{blank}")));
    QVERIFY(store.isModified(0, QStringLiteral("{text}")));
    store.markSaved(0, QStringLiteral("{text}"));
    QVERIFY(!store.isModified(0, QStringLiteral("{text}")));
    QVERIFY(store.isModified(0, QStringLiteral("{blank}")));
}

QTEST_GUILESS_MAIN(tst_DocumentStore)
#include "tst_documentstore.moc"
