#include "app/frmVellumo.h"
#include "dialogs/GotoLine.h"
#include "dialogs/LeadingNumber.h"
#include "dialogs/SearchCommands.h"
#include "dialogs/frmFind.h"
#include "dialogs/frmGoto.h"
#include "dialogs/frmPageSetup.h"
#include "platform/RichTextBox.h"
#include "support/TestEnvironment.h"
#include "support/WindowParts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QWindow>

#include <cmath>
#include <functional>
#include <limits>

using Box = RecordingMessageService::Box;
using Icon = MessageService::Icon;

namespace {

const Box invalidLine{QStringLiteral("Invalid line number."), Icon::Warning,
                      QStringLiteral("Goto line")};

Box cannotFind(const QString& text)
{
    return Box{QStringLiteral("Cannot find '") + text + QStringLiteral("'"), Icon::Information,
               QStringLiteral("Quillmere v1.0")};
}

QList<std::tuple<QString, int, QString>> asTuples(const QList<Box>& boxes)
{
    QList<std::tuple<QString, int, QString>> tuples;
    for (const Box& b : boxes)
        tuples << std::tuple(b.prompt, int(b.icon), b.title);
    return tuples;
}

/// The widgets that Tab visits, from the one with the focus on; a check box by its index.
QStringList tabOrder(QWidget* window)
{
    QStringList names;
    QWidget* start = window->focusWidget();
    QWidget* w = start;
    do {
        if (w->focusPolicy() & Qt::TabFocus) {
            const QVariant index = w->property("Index");
            names << w->objectName() + (index.isValid() ? index.toString() : QString());
        }
        w = w->nextInFocusChain();
    } while (w && w != start);
    return names;
}

QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

/// At its design place and size; a caption in a wider font than the design's widens it.
bool placedAsDesigned(const QWidget* w, const QRect& design)
{
    const bool captioned = qobject_cast<const QLabel*>(w) || qobject_cast<const QCheckBox*>(w);
    if (!captioned)
        return w->geometry() == design;
    return w->pos() == design.topLeft() && w->height() == design.height() &&
           w->width() == qMax(design.width(), w->sizeHint().width());
}

/// Records each box together with what the test wants to know at that moment.
class ProbingMessageService : public RecordingMessageService
{
public:
    void MsgBox(const QString& prompt, Icon icon, const QString& title) override
    {
        RecordingMessageService::MsgBox(prompt, icon, title);
        if (probe)
            probe();
    }

    std::function<void()> probe;
};

} // namespace

// A failed check in a helper ends the test, not only the helper.
#define VERIFY_SHOWN(dialog)                                                                       \
    do {                                                                                           \
        verifyShownOverDisabledMain(dialog);                                                       \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)
#define VERIFY_BACK(dialog)                                                                        \
    do {                                                                                           \
        verifyBackInEditor(dialog);                                                                \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

class tst_Dialogs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void leadingNumber_data();
    void leadingNumber();
    void gotoLineIndex_data();
    void gotoLineIndex();

    void gotoDialogAsDesigned();
    void gotoLine_data();
    void gotoLine();
    void gotoRejectsEntryWithoutLineNumber_data();
    void gotoRejectsEntryWithoutLineNumber();
    void messagesComeWhereTheDialogStands();
    void gotoCancelKeepsEntry();
    void gotoFrameCloseStartsAfresh();

    void findDialogAsDesigned();
    void replaceShowsReplacementRow();
    void findNextFromTopThenOnwardThenWraps();
    void findOptions_data();
    void findOptions();
    void replaceOneMatchAtATimeSkipsInsertedCopy();
    void replaceWithoutMatchChangesNothing();
    void emptySearchTextDisablesBothButtons();
    void cancelKeepsEntriesAndReturnsToFindMode();
    void frameCloseStartsFindAfresh();
    void dialogsWorkOnABareEditor();
    void pageSetupDialogAnswers();

private:
    frmGoto* openGoto();
    frmFind* openFind(QAction* entry);
    void setDocument(const QString& text);
    void click(QWidget* dialog, const char* button);
    void verifyShownOverDisabledMain(QWidget* dialog);
    void verifyBackInEditor(QWidget* dialog);
    void search(frmFind* dialog, const QString& text, const char* button = "cmdFindnext");

    std::unique_ptr<TestEnvironment> m_env;
    frmVellumo* m_w = nullptr;
};

void tst_Dialogs::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_w = m_env->window();
}

void tst_Dialogs::cleanup()
{
    m_env.reset();
    m_w = nullptr;
}

frmGoto* tst_Dialogs::openGoto()
{
    action(m_w, "mnuGoto")->trigger();
    return ::search(m_w)->gotoDialog();
}

frmFind* tst_Dialogs::openFind(QAction* entry)
{
    entry->trigger();
    return ::search(m_w)->findDialog();
}

void tst_Dialogs::setDocument(const QString& text)
{
    txtFile(m_w)->setPlainText(text);
    txtFile(m_w)->setSelStart(0);
}

void tst_Dialogs::click(QWidget* dialog, const char* button)
{
    auto* b = dialog->findChild<QPushButton*>(QLatin1String(button));
    QVERIFY2(b && b->isVisible() && b->isEnabled(), button);
    QTest::mouseClick(b, Qt::LeftButton);
}

void tst_Dialogs::search(frmFind* dialog, const QString& text, const char* button)
{
    auto* txtFind = dialog->findChild<QLineEdit*>("txtFind");
    txtFind->selectAll();
    QTest::keyClicks(txtFind, text);
    click(dialog, button);
}

// The dialog is a window of its own in front of the disabled main window, and still usable.
void tst_Dialogs::verifyShownOverDisabledMain(QWidget* dialog)
{
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(dialog->isWindow());
    QVERIFY(dialog->isEnabled());
    QVERIFY(!m_w->isEnabled());
    QVERIFY(!txtFile(m_w)->isEnabled());
    QCOMPARE(dialog->windowHandle()->transientParent(), m_w->windowHandle());
    QTRY_COMPARE(QApplication::activeWindow(), dialog);
}

void tst_Dialogs::verifyBackInEditor(QWidget* dialog)
{
    QVERIFY(!dialog || !dialog->isVisible());
    QVERIFY(m_w->isEnabled());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(txtFile(m_w)));
}

void tst_Dialogs::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("nominal: digits") << "42" << 42.0;
    QTest::newRow("nominal: text after the number is ignored") << "3abc" << 3.0;
    QTest::newRow("nominal: leading blank") << " 7" << 7.0;
    QTest::newRow("nominal: leading blanks and tab") << " \t 12" << 12.0;
    QTest::newRow("nominal: fraction") << "2.5" << 2.5;
    QTest::newRow("nominal: negative") << "-1" << -1.0;
    QTest::newRow("nominal: plus sign") << "+4" << 4.0;
    QTest::newRow("nominal: point without integer part") << ".5" << 0.5;
    QTest::newRow("nominal: trailing point") << "5." << 5.0;
    QTest::newRow("nominal: exponent") << "1e3" << 1000.0;
    QTest::newRow("nominal: signed upper-case exponent then text") << "1E+2x" << 100.0;
    QTest::newRow("nominal: negative exponent") << "25e-1" << 2.5;
    QTest::newRow("nominal: leading zeros") << "007" << 7.0;
    QTest::newRow("robustness: exponent without digits stops before it") << "2e" << 2.0;
    QTest::newRow("robustness: exponent sign without digits") << "2e-z" << 2.0;
    QTest::newRow("robustness: empty") << "" << 0.0;
    QTest::newRow("robustness: only blanks") << "   " << 0.0;
    QTest::newRow("robustness: letters first") << "abc" << 0.0;
    QTest::newRow("robustness: zero") << "0" << 0.0;
    QTest::newRow("robustness: sign alone") << "-" << 0.0;
    QTest::newRow("robustness: point alone") << "." << 0.0;
    QTest::newRow("robustness: point and exponent without digits") << "-.e5" << 0.0;
    QTest::newRow("robustness: blank inside ends the number") << "1 2" << 1.0;
    QTest::newRow("robustness: second point ends the number") << "1.2.3" << 1.2;
    QTest::newRow("robustness: hexadecimal is not read") << "0x10" << 0.0;
    QTest::newRow("robustness: digits of other scripts are not read")
        << QString::fromUtf8("\u0663") << 0.0;
    QTest::newRow("robustness: underflow reads as zero") << "1e-999" << 0.0;
    QTest::newRow("robustness: very long number")
        << QString(400, QLatin1Char('9')) + QStringLiteral("e-400") << 1.0;
}

void tst_Dialogs::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(LeadingNumber::parse(text), value);
}

void tst_Dialogs::gotoLineIndex_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("index");

    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("nominal: line 1 is index 0") << 1.0 << qint64(0);
    QTest::newRow("nominal: line 3") << 3.0 << qint64(2);
    QTest::newRow("nominal: beyond 16 bits") << 100000.0 << qint64(99999);
    QTest::newRow("nominal: largest exact whole number")
        << 9007199254740992.0 << qint64(9007199254740991);
    QTest::newRow("robustness: fraction names no line") << 2.5 << qint64(-1);
    QTest::newRow("robustness: just above a whole number")
        << std::nextafter(1.0, 2.0) << qint64(-1);
    QTest::newRow("robustness: negative") << -1.0 << qint64(-1);
    QTest::newRow("robustness: zero") << 0.0 << qint64(-1);
    QTest::newRow("robustness: beyond exact whole numbers") << 1e300 << qint64(-1);
    QTest::newRow("robustness: infinity") << inf << qint64(-1);
    QTest::newRow("robustness: negative infinity") << -inf << qint64(-1);
    QTest::newRow("robustness: not a number") << std::nan("") << qint64(-1);
}

void tst_Dialogs::gotoLineIndex()
{
    QFETCH(double, value);
    QFETCH(qint64, index);
    QCOMPARE(GotoLine::lineIndex(value).value_or(-1), index);
}

void tst_Dialogs::gotoDialogAsDesigned()
{
    frmGoto* dialog = openGoto();
    VERIFY_SHOWN(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Goto Line"));
    QCOMPARE(dialog->size(), QSize(3540 / 15, 1050 / 15));
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    const Qt::WindowFlags flags = dialog->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(!dialog->isModal());

    auto* txtGoto = dialog->findChild<QLineEdit*>("txtGoto");
    auto* ok = dialog->findChild<QPushButton*>("cmdGotook");
    auto* cancel = dialog->findChild<QPushButton*>("cmdGotocancel");
    QCOMPARE(txtGoto->geometry(), twips(45, 150, 1470, 330));
    QVERIFY(txtGoto->text().isEmpty());
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(ok->geometry(), twips(2280, 120, 1215, 375));
    QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
    QCOMPARE(cancel->geometry(), twips(2280, 600, 1215, 375));
    QCOMPARE(dialog->focusWidget(), static_cast<QWidget*>(ok));
    QCOMPARE(tabOrder(dialog), (QStringList{"cmdGotook", "cmdGotocancel", "txtGoto"}));

    // No default and no cancel button: Enter in the entry and Escape leave the dialog as it is.
    QTest::keyClick(dialog, Qt::Key_Tab);
    QTest::keyClick(dialog, Qt::Key_Tab);
    QTRY_VERIFY(txtGoto->hasFocus());
    QVERIFY(!ok->isDefault() && !cancel->isDefault());
    QTest::keyClicks(txtGoto, QStringLiteral("1"));
    QTest::keyClick(txtGoto, Qt::Key_Return);
    QTest::keyClick(txtGoto, Qt::Key_Escape);
    VERIFY_SHOWN(dialog);
    QVERIFY(m_env->messages.boxes.isEmpty());
    QCOMPARE(txtGoto->text(), QStringLiteral("1"));
}

void tst_Dialogs::gotoLine_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<qint64>("caretBefore");
    QTest::addColumn<qint64>("selectedBefore");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<qint64>("caretAfter");
    QTest::addColumn<bool>("rejected");

    const QString lines = QStringLiteral("one\ntwo\nthree\nfour\nfive\nsix\nseven\neight");
    QTest::newRow("nominal: 3abc goes to line 3") << lines << 0ll << 0ll << "3abc" << 8ll << false;
    QTest::newRow("nominal: a leading blank before 7")
        << lines << 2ll << 0ll << " 7" << 28ll << false;
    QTest::newRow("nominal: line 1 from the end") << lines << 39ll << 0ll << "1" << 0ll << false;
    QTest::newRow("nominal: last line") << lines << 0ll << 0ll << "8" << 34ll << false;
    QTest::newRow("nominal: a selection becomes a caret at the line start")
        << lines << 5ll << 12ll << "2" << 4ll << false;
    QTest::newRow("nominal: exponent names a line")
        << lines << 0ll << 0ll << "0.4e1" << 14ll << false;
    QTest::newRow("nominal: empty document, line 1") << "" << 0ll << 0ll << "1" << 0ll << false;
    QTest::newRow("nominal: the empty line after a final break")
        << "one\ntwo\n"
        << 0ll << 0ll << "3" << 8ll << false;
    QTest::newRow("robustness: empty document, line 2") << "" << 0ll << 0ll << "2" << 0ll << true;
    QTest::newRow("robustness: fraction leaves the caret")
        << lines << 6ll << 0ll << "2.5" << 6ll << true;
    QTest::newRow("robustness: negative leaves the selection")
        << lines << 6ll << 3ll << "-1" << 6ll << true;
    QTest::newRow("robustness: beyond the last line") << lines << 6ll << 0ll << "9" << 6ll << true;
    QTest::newRow("robustness: beyond the last line after a final break")
        << "one\ntwo\n"
        << 1ll << 0ll << "4" << 1ll << true;
    QTest::newRow("robustness: far too large") << lines << 6ll << 0ll << "1e300" << 6ll << true;
}

void tst_Dialogs::gotoLine()
{
    QFETCH(QString, document);
    QFETCH(qint64, caretBefore);
    QFETCH(qint64, selectedBefore);
    QFETCH(QString, entry);
    QFETCH(qint64, caretAfter);
    QFETCH(bool, rejected);

    setDocument(document);
    RichTextBox* editor = txtFile(m_w);
    editor->setSelStart(caretBefore);
    editor->setSelLength(selectedBefore);
    const QString textBefore = editor->Text();

    frmGoto* dialog = openGoto();
    VERIFY_SHOWN(dialog);
    QTest::keyClicks(dialog->findChild<QLineEdit*>("txtGoto"), entry);
    click(dialog, "cmdGotook");

    VERIFY_BACK(dialog);
    QCOMPARE(editor->SelStart(), caretAfter);
    QCOMPARE(editor->SelLength(), rejected ? selectedBefore : 0);
    QCOMPARE(asTuples(m_env->messages.boxes), rejected ? asTuples({invalidLine}) : asTuples({}));
    QVERIFY(dialog->findChild<QLineEdit*>("txtGoto")->text().isEmpty());
    QCOMPARE(editor->Text(), textBefore);
}

void tst_Dialogs::gotoRejectsEntryWithoutLineNumber_data()
{
    QTest::addColumn<QString>("entry");

    QTest::newRow("robustness: letters") << "abc";
    QTest::newRow("robustness: zero") << "0";
    QTest::newRow("robustness: empty") << "";
    QTest::newRow("robustness: blanks") << "  ";
    QTest::newRow("robustness: negative zero") << "-0";
    QTest::newRow("robustness: zero with exponent") << "0e5";
}

void tst_Dialogs::gotoRejectsEntryWithoutLineNumber()
{
    QFETCH(QString, entry);

    setDocument(QStringLiteral("one\ntwo\nthree"));
    txtFile(m_w)->setSelStart(5);
    frmGoto* dialog = openGoto();
    auto* txtGoto = dialog->findChild<QLineEdit*>("txtGoto");
    QTest::keyClicks(txtGoto, entry);
    click(dialog, "cmdGotook");

    QCOMPARE(asTuples(m_env->messages.boxes), asTuples({invalidLine}));
    VERIFY_SHOWN(dialog);
    QCOMPARE(txtGoto->text(), entry);
    QCOMPARE(txtFile(m_w)->SelStart(), 5);

    // The entry can be corrected in place.
    txtGoto->clear();
    QTest::keyClicks(txtGoto, QStringLiteral("3"));
    click(dialog, "cmdGotook");
    VERIFY_BACK(dialog);
    QCOMPARE(txtFile(m_w)->SelStart(), 8);
    QCOMPARE(m_env->messages.boxes.size(), 1);
}

// A rejected entry keeps the dialog; a missing line is reported once the dialog has gone;
// a failed search is reported over the dialog.
void tst_Dialogs::messagesComeWhereTheDialogStands()
{
    ProbingMessageService messages;
    AppServices services = m_env->services();
    services.messages = &messages;
    frmVellumo window(services);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    txtFile(&window)->setPlainText(QStringLiteral("one\ntwo"));

    QList<std::tuple<QString, bool, bool, QString>> seen;
    action(&window, "mnuGoto")->trigger();
    frmGoto* goTo = ::search(&window)->gotoDialog();
    auto* txtGoto = goTo->findChild<QLineEdit*>("txtGoto");
    messages.probe = [&] {
        seen << std::tuple(QStringLiteral("goto"), goTo->isVisible(), window.isEnabled(),
                           txtGoto->text());
    };
    QTest::keyClicks(txtGoto, QStringLiteral("0"));
    click(goTo, "cmdGotook");
    txtGoto->clear();
    QTest::keyClicks(txtGoto, QStringLiteral("2.5"));
    click(goTo, "cmdGotook");

    action(&window, "mnuFind")->trigger();
    frmFind* find = ::search(&window)->findDialog();
    auto* txtFind = find->findChild<QLineEdit*>("txtFind");
    messages.probe = [&] {
        seen << std::tuple(QStringLiteral("find"), find->isVisible(), window.isEnabled(),
                           txtFind->text());
    };
    QTest::keyClicks(txtFind, QStringLiteral("three"));
    click(find, "cmdFindnext");

    const QList<std::tuple<QString, bool, bool, QString>> expected{
        {"goto", true, false, "0"}, {"goto", false, true, "2.5"}, {"find", true, false, "three"}};
    QCOMPARE(seen, expected);
    QVERIFY(txtGoto->text().isEmpty());
}

void tst_Dialogs::gotoCancelKeepsEntry()
{
    setDocument(QStringLiteral("one\ntwo"));
    txtFile(m_w)->setSelStart(2);
    frmGoto* dialog = openGoto();
    QTest::keyClicks(dialog->findChild<QLineEdit*>("txtGoto"), QStringLiteral("2"));
    click(dialog, "cmdGotocancel");

    VERIFY_BACK(dialog);
    QCOMPARE(txtFile(m_w)->SelStart(), 2);
    QVERIFY(m_env->messages.boxes.isEmpty());

    QCOMPARE(openGoto(), dialog);
    VERIFY_SHOWN(dialog);
    QCOMPARE(dialog->findChild<QLineEdit*>("txtGoto")->text(), QStringLiteral("2"));
    click(dialog, "cmdGotook");
    VERIFY_BACK(dialog);
    QCOMPARE(txtFile(m_w)->SelStart(), 4);
}

void tst_Dialogs::gotoFrameCloseStartsAfresh()
{
    QPointer<frmGoto> dialog = openGoto();
    auto* txtGoto = dialog->findChild<QLineEdit*>("txtGoto");
    QTest::keyClicks(txtGoto, QStringLiteral("12"));
    txtGoto->setFocus();
    QVERIFY(dialog->close());

    QTRY_VERIFY(!dialog);
    QVERIFY(!::search(m_w)->gotoDialog());
    VERIFY_BACK(nullptr);

    frmGoto* fresh = openGoto();
    VERIFY_SHOWN(fresh);
    QVERIFY(fresh->findChild<QLineEdit*>("txtGoto")->text().isEmpty());
    QCOMPARE(fresh->focusWidget(), fresh->findChild<QWidget*>("cmdGotook"));
}

void tst_Dialogs::findDialogAsDesigned()
{
    frmFind* dialog = openFind(action(m_w, "mnuFind"));
    VERIFY_SHOWN(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Find"));
    QCOMPARE(dialog->size(), QSize(3840 / 15, 2310 / 15));
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QCOMPARE(dialog->windowFlags() & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(
        !(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    struct Control
    {
        const char* name;
        QString caption;
        QRect geometry;
        bool visible;
        bool enabled;
    };
    const QList<Control> controls{
        {"lblFindwhat", "Find what:", twips(30, 210, 825, 255), true, true},
        {"txtFind", "", twips(1200, 165, 2550, 300), true, true},
        {"lblReplace", "Replace with:", twips(60, 615, 990, 225), false, true},
        {"txtReplace", "", twips(1185, 570, 2580, 300), false, true},
        {"cmdReplace", "Replace", twips(45, 1020, 1215, 375), false, true},
        {"cmdFindnext", "Find Next", twips(1305, 1020, 1215, 375), true, false},
        {"cmdFindcancel", "Cancel", twips(2565, 1020, 1215, 375), true, true},
        {"fraFindoptions", "Find Options", twips(30, 1455, 3765, 810), true, true},
    };
    for (const Control& c : controls) {
        auto* w = dialog->findChild<QWidget*>(QLatin1String(c.name));
        QVERIFY2(w, c.name);
        QString caption;
        if (auto* label = qobject_cast<QLabel*>(w))
            caption = label->text();
        else if (auto* button = qobject_cast<QPushButton*>(w))
            caption = button->text();
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            caption = edit->text();
        else if (auto* frame = qobject_cast<QGroupBox*>(w))
            caption = frame->title();
        QCOMPARE(caption, c.caption);
        QVERIFY2(placedAsDesigned(w, c.geometry), c.name);
        QCOMPARE(w->isVisible(), c.visible);
        QCOMPARE(w->isEnabled(), c.enabled);
    }

    QCheckBox* wholeWord = dialog->chkboxes(RichTextBox::rtfWholeWord);
    QCheckBox* matchCase = dialog->chkboxes(RichTextBox::rtfMatchCase);
    QCOMPARE(wholeWord->text(), QStringLiteral("Whole word"));
    QVERIFY(placedAsDesigned(wholeWord, twips(120, 240, 1335, 315)));
    QCOMPARE(matchCase->text(), QStringLiteral("Match Case"));
    QVERIFY(placedAsDesigned(matchCase, twips(1890, 120, 1290, 555)));
    // Widened captions still end before the control beside them.
    QVERIFY(wholeWord->geometry().right() < matchCase->x());
    QVERIFY(matchCase->geometry().right() < dialog->findChild<QWidget*>("fraFindoptions")->width());
    QVERIFY(dialog->findChild<QWidget*>("lblFindwhat")->geometry().right() <
            dialog->findChild<QWidget*>("txtFind")->x());
    QVERIFY(dialog->findChild<QWidget*>("lblReplace")->geometry().right() <
            dialog->findChild<QWidget*>("txtReplace")->x());
    for (QCheckBox* box : {wholeWord, matchCase}) {
        QCOMPARE(box->objectName(), QStringLiteral("chkboxes"));
        QCOMPARE(box->parentWidget()->objectName(), QStringLiteral("fraFindoptions"));
        QVERIFY(!box->isChecked());
    }

    // Find Next is disabled at first, so the focus starts on Cancel.
    QCOMPARE(dialog->focusWidget(), dialog->findChild<QWidget*>("cmdFindcancel"));
    QCOMPARE(tabOrder(dialog), (QStringList{"cmdFindcancel", "txtFind", "chkboxes4", "chkboxes2",
                                            "txtReplace", "cmdReplace", "cmdFindnext"}));
    auto* txtFind = dialog->findChild<QLineEdit*>("txtFind");
    txtFind->setFocus();
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        QVERIFY2(!button->isDefault(), qPrintable(button->objectName()));
    QTest::keyClicks(txtFind, QStringLiteral("x"));
    QTest::keyClick(txtFind, Qt::Key_Return);
    QTest::keyClick(txtFind, Qt::Key_Escape);
    VERIFY_SHOWN(dialog);
    QVERIFY(m_env->messages.boxes.isEmpty());
}

void tst_Dialogs::replaceShowsReplacementRow()
{
    frmFind* dialog = openFind(action(m_w, "mnuReplace"));
    VERIFY_SHOWN(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Find and Replace"));
    for (const char* name : {"lblReplace", "txtReplace", "cmdReplace"})
        QVERIFY2(dialog->findChild<QWidget*>(QLatin1String(name))->isVisible(), name);
    // Replace starts enabled with nothing to search for; the search then finds nothing.
    click(dialog, "cmdReplace");
    QCOMPARE(asTuples(m_env->messages.boxes), asTuples({cannotFind("")}));
    VERIFY_SHOWN(dialog);
}

void tst_Dialogs::findNextFromTopThenOnwardThenWraps()
{
    setDocument(QStringLiteral("dog cat\ndog cat dog"));
    RichTextBox* editor = txtFile(m_w);
    editor->setSelStart(14);
    frmFind* dialog = openFind(action(m_w, "mnuFind"));

    search(dialog, QStringLiteral("dog"));
    QCOMPARE(editor->SelStart(), 0);
    QCOMPARE(editor->SelText(), QStringLiteral("dog"));
    click(dialog, "cmdFindnext");
    QCOMPARE(editor->SelStart(), 8);
    click(dialog, "cmdFindnext");
    QCOMPARE(editor->SelStart(), 16);
    QVERIFY(m_env->messages.boxes.isEmpty());

    click(dialog, "cmdFindnext");
    QCOMPARE(asTuples(m_env->messages.boxes), asTuples({cannotFind("dog")}));
    QCOMPARE(editor->SelStart(), 16);
    QCOMPARE(editor->SelLength(), 3);
    VERIFY_SHOWN(dialog);

    click(dialog, "cmdFindnext");
    QCOMPARE(editor->SelStart(), 0);
    QCOMPARE(editor->SelLength(), 3);
    QCOMPARE(m_env->messages.boxes.size(), 1);
    // The search leaves the keyboard in the dialog.
    QCOMPARE(QApplication::activeWindow(), static_cast<QWidget*>(dialog));
}

void tst_Dialogs::findOptions_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<qint64>("found");

    QTest::newRow("nominal: without options case is ignored") << "xx ABC"
                                                              << "abc" << false << false << 3ll;
    QTest::newRow("nominal: Match Case skips ABC") << "ABC abc"
                                                   << "abc" << false << true << 4ll;
    QTest::newRow("nominal: Match Case does not find abc in ABC") << "ABC"
                                                                  << "abc" << false << true << -1ll;
    QTest::newRow("nominal: without options cat is found inside concatenate")
        << "concatenate cat"
        << "cat" << false << false << 3ll;
    QTest::newRow("nominal: Whole word skips concatenate") << "concatenate cat"
                                                           << "cat" << true << false << 12ll;
    QTest::newRow("nominal: Whole word does not find cat in concatenate")
        << "concatenate"
        << "cat" << true << false << -1ll;
    QTest::newRow("nominal: punctuation and line breaks bound words")
        << "cats,\n(cat)"
        << "cat" << true << false << 7ll;
    QTest::newRow("robustness: digits and underscores are word characters")
        << "cat_ 2cat cat9 cat"
        << "cat" << true << false << 15ll;
    QTest::newRow("nominal: both options") << "Cat cats cat"
                                           << "cat" << true << true << 9ll;
}

void tst_Dialogs::findOptions()
{
    QFETCH(QString, document);
    QFETCH(QString, text);
    QFETCH(bool, wholeWord);
    QFETCH(bool, matchCase);
    QFETCH(qint64, found);

    setDocument(document);
    frmFind* dialog = openFind(action(m_w, "mnuFind"));
    if (wholeWord)
        QTest::mouseClick(dialog->chkboxes(RichTextBox::rtfWholeWord), Qt::LeftButton);
    if (matchCase)
        QTest::mouseClick(dialog->chkboxes(RichTextBox::rtfMatchCase), Qt::LeftButton);
    QCOMPARE(dialog->chkboxes(RichTextBox::rtfWholeWord)->isChecked(), wholeWord);
    QCOMPARE(dialog->chkboxes(RichTextBox::rtfMatchCase)->isChecked(), matchCase);
    search(dialog, text);

    if (found < 0) {
        QCOMPARE(asTuples(m_env->messages.boxes), asTuples({cannotFind(text)}));
        QCOMPARE(txtFile(m_w)->SelLength(), 0);
    } else {
        QVERIFY(m_env->messages.boxes.isEmpty());
        QCOMPARE(txtFile(m_w)->SelStart(), found);
        QCOMPARE(txtFile(m_w)->SelLength(), text.size());
    }
}

void tst_Dialogs::replaceOneMatchAtATimeSkipsInsertedCopy()
{
    setDocument(QStringLiteral("a cat, a cat"));
    RichTextBox* editor = txtFile(m_w);
    frmFind* dialog = openFind(action(m_w, "mnuReplace"));
    QTest::keyClicks(dialog->findChild<QLineEdit*>("txtReplace"), QStringLiteral("cat cat"));

    search(dialog, QStringLiteral("cat"), "cmdReplace");
    QCOMPARE(editor->Text(), QStringLiteral("a cat, a cat"));
    QCOMPARE(editor->SelStart(), 2);
    QCOMPARE(editor->SelLength(), 3);

    click(dialog, "cmdReplace");
    QCOMPARE(editor->Text(), QStringLiteral("a cat cat, a cat"));
    QCOMPARE(editor->SelStart(), 13);
    QCOMPARE(editor->SelLength(), 3);

    click(dialog, "cmdReplace");
    QCOMPARE(editor->Text(), QStringLiteral("a cat cat, a cat cat"));
    QCOMPARE(editor->SelStart(), 20);
    QCOMPARE(editor->SelLength(), 0);
    QCOMPARE(asTuples(m_env->messages.boxes), asTuples({cannotFind("cat")}));

    // After the miss the next click only finds again, from the top.
    click(dialog, "cmdReplace");
    QCOMPARE(editor->Text(), QStringLiteral("a cat cat, a cat cat"));
    QCOMPARE(editor->SelStart(), 2);
    QCOMPARE(editor->SelLength(), 3);
    VERIFY_SHOWN(dialog);
}

void tst_Dialogs::replaceWithoutMatchChangesNothing()
{
    setDocument(QStringLiteral("nothing to see"));
    RichTextBox* editor = txtFile(m_w);
    editor->setSelStart(3);
    const quint64 revision = editor->contentRevision();
    frmFind* dialog = openFind(action(m_w, "mnuReplace"));
    QTest::keyClicks(dialog->findChild<QLineEdit*>("txtReplace"), QStringLiteral("x"));

    search(dialog, QStringLiteral("cat"), "cmdReplace");
    click(dialog, "cmdReplace");

    QCOMPARE(asTuples(m_env->messages.boxes), asTuples({cannotFind("cat"), cannotFind("cat")}));
    QCOMPARE(editor->Text(), QStringLiteral("nothing to see"));
    QCOMPARE(editor->contentRevision(), revision);
    QCOMPARE(editor->SelStart(), 3);
}

void tst_Dialogs::emptySearchTextDisablesBothButtons()
{
    frmFind* dialog = openFind(action(m_w, "mnuReplace"));
    auto* txtFind = dialog->findChild<QLineEdit*>("txtFind");
    auto* findNext = dialog->findChild<QPushButton*>("cmdFindnext");
    auto* replace = dialog->findChild<QPushButton*>("cmdReplace");

    QTest::keyClicks(txtFind, QStringLiteral("ab"));
    QVERIFY(findNext->isEnabled() && replace->isEnabled());
    QTest::keyClick(txtFind, Qt::Key_Backspace);
    QVERIFY(findNext->isEnabled() && replace->isEnabled());
    QTest::keyClick(txtFind, Qt::Key_Backspace);
    QVERIFY(!findNext->isEnabled() && !replace->isEnabled());
    QTest::keyClicks(txtFind, QStringLiteral("c"));
    QVERIFY(findNext->isEnabled() && replace->isEnabled());
}

void tst_Dialogs::cancelKeepsEntriesAndReturnsToFindMode()
{
    setDocument(QStringLiteral("one two one"));
    RichTextBox* editor = txtFile(m_w);
    frmFind* dialog = openFind(action(m_w, "mnuReplace"));
    QTest::keyClicks(dialog->findChild<QLineEdit*>("txtReplace"), QStringLiteral("three"));
    QTest::mouseClick(dialog->chkboxes(RichTextBox::rtfWholeWord), Qt::LeftButton);
    search(dialog, QStringLiteral("one"));
    click(dialog, "cmdFindnext");
    QCOMPARE(editor->SelStart(), 8);

    click(dialog, "cmdFindcancel");
    VERIFY_BACK(dialog);
    QCOMPARE(editor->SelStart(), 8);

    QCOMPARE(openFind(action(m_w, "mnuFind")), dialog);
    VERIFY_SHOWN(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Find"));
    for (const char* name : {"lblReplace", "txtReplace", "cmdReplace"})
        QVERIFY2(!dialog->findChild<QWidget*>(QLatin1String(name))->isVisible(), name);
    QCOMPARE(dialog->findChild<QLineEdit*>("txtFind")->text(), QStringLiteral("one"));
    QCOMPARE(dialog->findChild<QLineEdit*>("txtReplace")->text(), QStringLiteral("three"));
    QVERIFY(dialog->chkboxes(RichTextBox::rtfWholeWord)->isChecked());
    QVERIFY(dialog->findChild<QPushButton*>("cmdFindnext")->isEnabled());

    // Cancel also sent the next search back to the top.
    click(dialog, "cmdFindnext");
    QCOMPARE(editor->SelStart(), 0);
    QVERIFY(m_env->messages.boxes.isEmpty());
}

void tst_Dialogs::frameCloseStartsFindAfresh()
{
    setDocument(QStringLiteral("one two one"));
    QPointer<frmFind> dialog = openFind(action(m_w, "mnuReplace"));
    QTest::keyClicks(dialog->findChild<QLineEdit*>("txtReplace"), QStringLiteral("three"));
    QTest::mouseClick(dialog->chkboxes(RichTextBox::rtfMatchCase), Qt::LeftButton);
    search(dialog, QStringLiteral("one"));
    QVERIFY(dialog->close());

    QTRY_VERIFY(!dialog);
    QVERIFY(!::search(m_w)->findDialog());
    VERIFY_BACK(nullptr);
    QCOMPARE(txtFile(m_w)->SelStart(), 0);

    frmFind* fresh = openFind(action(m_w, "mnuReplace"));
    VERIFY_SHOWN(fresh);
    QCOMPARE(fresh->windowTitle(), QStringLiteral("Find and Replace"));
    QVERIFY(fresh->findChild<QLineEdit*>("txtFind")->text().isEmpty());
    QVERIFY(fresh->findChild<QLineEdit*>("txtReplace")->text().isEmpty());
    QVERIFY(!fresh->chkboxes(RichTextBox::rtfMatchCase)->isChecked());
    QVERIFY(!fresh->findChild<QPushButton*>("cmdFindnext")->isEnabled());
    QVERIFY(fresh->findChild<QPushButton*>("cmdReplace")->isEnabled());
}

// The dialogs need only an owner to disable, an editor and somewhere to say what went wrong.
void tst_Dialogs::dialogsWorkOnABareEditor()
{
    QWidget owner;
    RichTextBox editor(&owner);
    RecordingMessageService messages;
    editor.setPlainText(QStringLiteral("one\ntwo one"));
    owner.setEnabled(false);

    frmGoto gotoLine(owner, editor, messages);
    gotoLine.findChild<QLineEdit*>("txtGoto")->setText(QStringLiteral("2"));
    gotoLine.cmdGotook_Click();
    QCOMPARE(editor.SelStart(), 4);
    QVERIFY(owner.isEnabled());

    frmFind find(owner, editor, messages);
    find.findChild<QLineEdit*>("txtFind")->setText(QStringLiteral("one"));
    find.findChild<QLineEdit*>("txtReplace")->setText(QStringLiteral("1"));
    find.cmdReplace_Click();
    find.cmdReplace_Click();
    find.cmdReplace_Click();
    QCOMPARE(editor.Text(), QStringLiteral("1\ntwo 1"));
    QCOMPARE(asTuples(messages.boxes), asTuples({cannotFind(QStringLiteral("one"))}));
}

// Margins shown rounded stay to the twip unless changed; landscape paper lies turned.
void tst_Dialogs::pageSetupDialogAnswers()
{
    const PageSetup a4{11906, 16838, 1800, 1440, 1000, 1440, false};
    frmPageSetup dialog(a4, nullptr);
    auto* paper = child<QComboBox>(&dialog, "cboPaper");
    QCOMPARE(paper->currentText(), QStringLiteral("A4"));
    QCOMPARE(dialog.page(), a4);

    paper->setCurrentText(QStringLiteral("Letter"));
    child<QRadioButton>(&dialog, "optLandscape")->setChecked(true);
    auto* left = child<QDoubleSpinBox>(&dialog, "txtMarginLeft");
    left->setValue(2);
    const double twipsPerUnit = left->suffix() == QLatin1String(" in") ? 1440 : 1440 / 2.54;
    const PageSetup chosen = dialog.page();
    QCOMPARE(chosen, (PageSetup{15840, 12240, qRound(2 * twipsPerUnit), 1440, 1000, 1440, true}));

    frmPageSetup own(PageSetup{10000, 14000}, nullptr);
    QCOMPARE(child<QComboBox>(&own, "cboPaper")->count(), 5);
    QCOMPARE(own.page().paperWidth, 10000);
}

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
