#include "platform/CommonDialog.h"

#include <QFileInfo>

QString CommonDialog::qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << QStringLiteral("%1 (%2)").arg(parts[i].section(QLatin1Char('('), 0, 0).trimmed(),
                                                 QString(parts[i + 1]).replace(';', ' '));
    return filters.join(QStringLiteral(";;"));
}

QString CommonDialog::withDefaultExt(const QString& fileName, const QString& defaultExt)
{
    if (fileName.isEmpty() || defaultExt.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName + QLatin1Char('.') + defaultExt;
}

int CommonDialog::finish(bool accepted, bool fileDialog)
{
    if (accepted)
        return 0;
    if (CancelError)
        return cdlCancel;
    if (fileDialog)
        FileName.clear();
    return 0;
}
