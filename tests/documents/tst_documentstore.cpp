#include "documents/DocumentStore.h"

#include <QTest>

Q_DECLARE_METATYPE(Document::Origin)

/// The store and its documents on their own: numbering, slots, the undo pair and unsaved changes.
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
    QCOMPARE(Document::isFilePath(name), isPath);
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
    using Origin = Document::Origin;
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
    QFETCH(Document::Origin, origin);
    QFETCH(QByteArray, recorded);
    QFETCH(bool, modified);

    DocumentStore store;
    store.reset(QByteArray("{blank}"));
    store.at(0).setDocRTF(QByteArray("zero"));
    QCOMPARE(store.add(store.create(origin, QStringLiteral("/tmp/a.doc"), QByteArray("{doc}"))), 1);
    QCOMPARE(store.count(), 2);
    QCOMPARE(store.curDoc(), 0);
    QCOMPARE(store.at(0).name(), QStringLiteral("Untitled1"));
    QCOMPARE(store.docRTF(0), QByteArray("zero"));
    QCOMPARE(store.at(1).name(), QStringLiteral("/tmp/a.doc"));
    QCOMPARE(store.docRTF(1), recorded);
    QCOMPARE(store.undoRTF(1), recorded);
    QCOMPARE(store.at(1).isModified(store.docRTF(1)), modified);
    QCOMPARE(store.untitledCount(), 1);

    // A restored document keeps its number, and new ones count on from it.
    store.replace(1, store.create(origin, QStringLiteral("Untitled7")));
    QCOMPARE(store.nextUntitledName(), QStringLiteral("Untitled8"));
}

void tst_DocumentStore::undoTogglesBetweenTheLastTwoStates()
{
    Document document(Document::Origin::New, QStringLiteral("Untitled1"), {}, "{blank}");
    QVERIFY(document.recordChange(QByteArray("a")));
    QVERIFY(document.recordChange(QByteArray("ab")));
    QCOMPARE(document.undo(QByteArray("ab")), QByteArray("a"));
    QCOMPARE(document.undo(QByteArray("a")), QByteArray("ab"));
    QCOMPARE(document.undo(QByteArray("ab")), QByteArray("a"));

    // Unrecorded content (seed words) becomes the state the next Undo brings back.
    QCOMPARE(document.undo(QByteArray("a seed")), QByteArray("ab"));
    QCOMPARE(document.undo(QByteArray("ab")), QByteArray("a seed"));
}

void tst_DocumentStore::unchangedContentRecordsNothing()
{
    Document document(Document::Origin::New, QStringLiteral("Untitled1"), {}, "{blank}");
    QVERIFY2(!document.recordChange(QByteArray("{blank}")), "an empty document stays unchanged");
    document.recordChange(QByteArray("one"));
    document.recordChange(QByteArray("two"));
    QVERIFY(!document.recordChange(QByteArray("two")));
    QCOMPARE(document.undoRTF(), QByteArray("one"));
    QVERIFY2(document.recordChange(QByteArray("TWO")), "the comparison is case-sensitive");
}

void tst_DocumentStore::modifiedMeansDifferentFromSaved()
{
    Document document(Document::Origin::New, QStringLiteral("Untitled1"), {}, "{blank}");
    document.setLosses({QStringLiteral("tables")});
    QVERIFY(!document.isModified(QByteArray()));
    QVERIFY(!document.isModified(QByteArray("{blank}")));
    QVERIFY(document.isModified(QByteArray("{text}")));
    document.markSaved(QByteArray("{text}"));
    QVERIFY(!document.isModified(QByteArray("{text}")));
    QVERIFY(document.isModified(QByteArray("{blank}")));
    QVERIFY2(document.losses().isEmpty(), "what was saved lost nothing more");
}

QTEST_GUILESS_MAIN(tst_DocumentStore)
#include "tst_documentstore.moc"
