#include "formats/EditorFont.h"

#include <QFontDatabase>
#include <QGuiApplication>

QFont EditorFont::defaultFont()
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
