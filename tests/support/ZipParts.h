#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

/// The parts of a zip package, by name, in the package's order.
QList<std::pair<QString, QByteArray>> zipParts(const QByteArray& zip);

/// The part's XML with a megabyte of comment after its declaration, and nothing else more: a
/// part so long is read on a second thread.
QByteArray paddedPastOneThread(QByteArray xml);
