#pragma once

#include "platform/CommonDialog.h"

#include <QFont>
#include <QList>
#include <QString>

#include <variant>

/// A common dialog that answers from a script; a dialog shown with nothing queued fails the test.
class FakeCommonDialog : public CommonDialog
{
public:
    /// What the program had set on the dialog when it showed it.
    struct Shown
    {
        QString kind;
        QString title;
        QString filter;
        QString defaultExt;
        int flags;
        bool cancelError;
        QString fileName;
    };

    /// The next Open, Save or folder dialog returns this name; an empty one is a cancel.
    void queueFileName(const QString& name) { m_answers << Answer{name}; }
    /// The next dialog of any kind is cancelled.
    void queueCancel() { m_answers << Answer{Cancel{}}; }
    /// The next print dialog is confirmed with this printer.
    void queuePrinter(QPrinter* printer) { m_answers << Answer{printer}; }
    void queueColor(const QColor& color) { m_answers << Answer{color}; }
    void queueFont(const QFont& font) { m_answers << Answer{font}; }
    /// The next page setup dialog is confirmed with this page.
    void queuePage(const PageSetup& page) { m_answers << Answer{page}; }

    qsizetype pending() const { return m_answers.size(); }

    QList<Shown> shown;

protected:
    bool runOpen() override { return fileAnswer(QStringLiteral("open")); }
    bool runSave() override { return fileAnswer(QStringLiteral("save")); }
    bool runFolder() override { return fileAnswer(QStringLiteral("folder")); }
    bool runPrinter() override;
    bool runColor() override;
    bool runFont() override;
    bool runPageSetup() override;

private:
    struct Cancel
    {
    };
    using Answer = std::variant<QString, Cancel, QPrinter*, QColor, QFont, PageSetup>;

    bool fileAnswer(const QString& kind);
    /// Takes the next answer, failing the test when there is none or it has the wrong kind.
    template <class T> const T* take(const QString& kind, bool* cancelled);

    QList<Answer> m_answers;
    Answer m_current;
};
