#include "platform/FontFallbacks.h"

#include <QFont>
#include <QStringList>

void FontFallbacks::install()
{
    const QStringList serif = {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif"),
                               QStringLiteral("Tinos")};
    const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                              QStringLiteral("Arimo")};
    const QStringList mono = {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono"),
                              QStringLiteral("Cousine")};
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"), serif);
    QFont::insertSubstitutions(QStringLiteral("Times"), serif);
    QFont::insertSubstitutions(QStringLiteral("Arial"), sans);
    QFont::insertSubstitutions(QStringLiteral("Helvetica"), sans);
    QFont::insertSubstitutions(QStringLiteral("Courier New"), mono);
}
