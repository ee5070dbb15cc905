#include "documents/DocumentStore.h"

#include <QTest>

Q_DECLARE_METATYPE(DocumentStore::Origin)

/// The per-document store on its own: numbering, slots, the undo pair and unsaved changes.
class tst_DocumentStore : public QObject
{
    Q_OBJECT

private slots:
    void isFilePath_data();
    void isFilePath();
    void numbersOnlyGrow();
    void addedDocumentsStartByTheirOrigin_data();
    void addedDocumentsStartByTheirOrigin();
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

void tst_DocumentStore::addedDocumentsStartByTheirOrigin_data()
{
    using Origin = DocumentStore::Origin;
    QTest::addColumn<Origin>("origin");
    QTest::addColumn<QByteArray>("recorded");
    QTest::addColumn<bool>("modified");

    QTest::newRow("nominal: new is empty and unmodified") << Origin::New << QByteArray() << false;
    QTest::newRow("nominal: opened is saved as read")
        << Origin::Opened << QByteArray("{doc}") << false;
    QTest::newRow("nominal: restored is unsaved")
        << Origin::Restored << QByteArray("{doc}") << true;
}

void tst_DocumentStore::addedDocumentsStartByTheirOrigin()
{
    QFETCH(DocumentStore::Origin, origin);
    QFETCH(QByteArray, recorded);
    QFETCH(bool, modified);

    DocumentStore store;
    store.reset(QByteArray("{blank}"));
    store.setDocRTF(0, QByteArray("zero"));
    QCOMPARE(store.add(origin, QStringLiteral("/tmp/a.doc"), QByteArray("{doc}")), 1);
    QCOMPARE(store.count(), 2);
    QCOMPARE(store.curDoc(), 0);
    QCOMPARE(store.name(0), QStringLiteral("Untitled1"));
    QCOMPARE(store.docRTF(0), QByteArray("zero"));
    QCOMPARE(store.name(1), QStringLiteral("/tmp/a.doc"));
    QCOMPARE(store.docRTF(1), recorded);
    QCOMPARE(store.undoRTF(1), recorded);
    QCOMPARE(store.isModified(1, store.docRTF(1)), modified);
    QCOMPARE(store.untitledCount(), 1);
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
    store.setCurDoc(store.add(DocumentStore::Origin::New, QStringLiteral("Untitled2")));
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
