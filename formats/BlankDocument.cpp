#include "formats/BlankDocument.h"

#include "formats/PageSetup.h"
#include "formats/ParagraphDirection.h"
#include "formats/base/Twips.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QLocale>
#include <QTextDocument>
#include <QTextOption>

QTextDocument* BlankDocument::create(QObject* parent)
{
    auto* document = new QTextDocument(parent);
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(defaultFont());
    // Other word processors print a document without tab stops of its own this way.
    QTextOption option = document->defaultTextOption();
    option.setTabStopDistance(Twips::toPixels(720));
    document->setDefaultTextOption(option);
    ParagraphDirection::follow(*document);
    return document;
}

QTextDocument* BlankDocument::createNew(QObject* parent)
{
    QTextDocument* document = create(parent);
    PageSetup::forLocale(QLocale::system()).keepIn(*document);
    return document;
}

QFont BlankDocument::defaultFont()
{
    QFont font(QStringLiteral("Fixedsys"));
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) &&
        !QFontDatabase::families().contains(font.family()))
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}
