#include "support/FakeCommonDialog.h"

#include <QPrinter>
#include <QTest>

template <class T> const T* FakeCommonDialog::take(const QString& kind, bool* cancelled)
{
    shown << Shown{kind, DialogTitle, Filter, DefaultExt, Flags, CancelError, FileName};
    *cancelled = false;
    if (m_answers.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected %1 dialog").arg(kind)), __FILE__,
                     __LINE__);
        *cancelled = true;
        return nullptr;
    }
    m_current = m_answers.takeFirst();
    if (std::holds_alternative<Cancel>(m_current)) {
        *cancelled = true;
        return nullptr;
    }
    if (!std::holds_alternative<T>(m_current)) {
        QTest::qFail(qPrintable(QStringLiteral("%1 dialog got a wrong answer").arg(kind)), __FILE__,
                     __LINE__);
        *cancelled = true;
        return nullptr;
    }
    return &std::get<T>(m_current);
}

bool FakeCommonDialog::fileAnswer(const QString& kind)
{
    bool cancelled = false;
    const QString* name = take<QString>(kind, &cancelled);
    if (cancelled || name->isEmpty())
        return false;
    FileName = kind == QLatin1String("save") ? withDefaultExt(*name, DefaultExt) : *name;
    return true;
}

bool FakeCommonDialog::runPrinter()
{
    bool cancelled = false;
    QPrinter* const* printer = take<QPrinter*>(QStringLiteral("print"), &cancelled);
    if (cancelled)
        return false;
    // Confirmed as offered: the selection when the program offered one.
    if (Flags & cdlPDSelection)
        (*printer)->setPrintRange(QPrinter::Selection);
    hDC = *printer;
    return true;
}

bool FakeCommonDialog::runColor()
{
    bool cancelled = false;
    const QColor* color = take<QColor>(QStringLiteral("color"), &cancelled);
    if (cancelled)
        return false;
    Color = *color;
    return true;
}

bool FakeCommonDialog::runFont()
{
    bool cancelled = false;
    const QFont* font = take<QFont>(QStringLiteral("font"), &cancelled);
    if (cancelled)
        return false;
    FontName = font->family();
    FontSize = float(font->pointSizeF());
    FontBold = font->bold();
    FontItalic = font->italic();
    FontStrikethru = font->strikeOut();
    FontUnderline = font->underline();
    return true;
}

bool FakeCommonDialog::runPageSetup()
{
    bool cancelled = false;
    const PageSetup* page = take<PageSetup>(QStringLiteral("page setup"), &cancelled);
    if (cancelled)
        return false;
    Page = *page;
    return true;
}
