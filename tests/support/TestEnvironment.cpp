#include "support/TestEnvironment.h"

#include "app/frmVellumo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

TestEnvironment::TestEnvironment()
{
    QStandardPaths::setTestModeEnabled(true);
    qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());
    programDir = QCoreApplication::applicationDirPath();
    thesaurusDir = path(QStringLiteral("no-thesaurus"));
}

TestEnvironment::~TestEnvironment() = default;

AppServices TestEnvironment::services()
{
    AppServices s;
    s.dialog = &dialog;
    s.messages = &messages;
    s.random = &random;
    s.settingsFile = settingsFile();
    s.dataDir = path(QStringLiteral("data"));
    s.programDir = programDir;
    s.dictionaryDir = dictionaryDir;
    s.thesaurusDir = thesaurusDir;
    s.quit = [this] { ++quitCalls; };
    s.clock = [this] {
        if (onClockRead)
            onClockRead();
        return now;
    };
    s.today = [this] { return today; };
    return s;
}

frmVellumo* TestEnvironment::window()
{
    m_window = std::make_unique<frmVellumo>(services());
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        QTest::qFail("main window not exposed", __FILE__, __LINE__);
    return m_window.get();
}

void TestEnvironment::closeWindow()
{
    if (m_window)
        m_window->close();
    m_window.reset();
}

void writeTestFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}
