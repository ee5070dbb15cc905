#include "app/frmVellumo.h"
#include "platform/RichTextBox.h"
#include "support/TestEnvironment.h"
#include "support/WindowParts.h"

#include <QFile>
#include <QTest>

/// Opening a file warns once, before any save, about what the document cannot keep.
class RtfOpenTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void openNamesWhatCannotBeKept_data();
    void openNamesWhatCannotBeKept();

private:
    std::unique_ptr<TestEnvironment> m_env;
    frmVellumo* m_window = nullptr;
};

void RtfOpenTest::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_window = m_env->window();
}

void RtfOpenTest::cleanup()
{
    QCOMPARE(m_env->messages.pending(), 0);
    m_env.reset();
}

void RtfOpenTest::openNamesWhatCannotBeKept_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("named");
    QTest::newRow("nominal: metafile picture and object, each named once")
        << QByteArray("{\\rtf1 \\trowd\\cellx100 a\\cell b\\cell\\row\\trowd\\cellx100 c\\cell\\row"
                      "{\\pict\\wmetafile8 0102}{\\pict\\emfblip 0304}"
                      "{\\object\\objemb{\\*\\objdata 00}{\\result x}}end}")
        << QStringLiteral("\na\nb\nc\n\nend")
        << QStringList{"pictures other than PNG and JPEG", "embedded objects"};
    QTest::newRow("nominal: a plain document opens without a message")
        << QByteArray("{\\rtf1 {\\b plain}\\par text}") << QStringLiteral("plain\ntext")
        << QStringList();
}

void RtfOpenTest::openNamesWhatCannotBeKept()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QFETCH(QStringList, named);
    const QString path = m_env->path(QStringLiteral("peer.doc"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(rtf);
    file.close();

    m_env->dialog.queueFileName(path);
    action(m_window, "mnuOpen")->trigger();

    auto* editor = m_window->findChild<RichTextBox*>(QStringLiteral("txtFile"));
    QVERIFY(editor);
    QCOMPARE(editor->Text().replace(u"\r\n"_qs, u"\n"_qs), text);
    if (named.isEmpty()) {
        QCOMPARE(m_env->messages.boxes.size(), 0);
        return;
    }
    QCOMPARE(m_env->messages.boxes.size(), 1);
    const QString prompt = m_env->messages.boxes.constFirst().prompt;
    QVERIFY2(prompt.contains(u"peer.doc"_qs), qPrintable(prompt));
    for (const QString& loss : named)
        QVERIFY2(prompt.count(loss) == 1, qPrintable(prompt));
}

QTEST_MAIN(RtfOpenTest)
#include "tst_rtfopen.moc"
