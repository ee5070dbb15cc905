#pragma once

#include "app/frmVellumo.h"
#include "platform/RichTextBox.h"
#include "support/TestEnvironment.h"
#include "support/WindowParts.h"

#include <QTest>
#include <QTextCursor>

/// Types text key by key; a line break is the Return key.
inline void type(QWidget* editor, const QString& text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, lines[i]);
    }
}

/// The main window, active and wide enough to show every toolbar button, with the editor
/// focused and text typed into it key by key, as a user starts editing.
inline frmVellumo* editingWindow(TestEnvironment& env, const QString& typed = {})
{
    frmVellumo* w = env.window();
    w->resize(720, 420);
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w))
        QTest::qFail("main window not active", __FILE__, __LINE__);
    txtFile(w)->SetFocus();
    type(txtFile(w), typed);
    return w;
}

inline void select(frmVellumo* w, qint64 start, qint64 length)
{
    txtFile(w)->setSelStart(start);
    txtFile(w)->setSelLength(length);
}

/// The format of the character at position.
inline QTextCharFormat formatAt(frmVellumo* w, int position)
{
    QTextCursor c(txtFile(w)->document());
    c.setPosition(position + 1);
    return c.charFormat();
}

inline bool boldAt(frmVellumo* w, int position)
{
    return formatAt(w, position).fontWeight() == QFont::Bold;
}
