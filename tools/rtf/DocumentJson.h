#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

/// Converts between a QTextDocument and a JSON list of paragraphs and formatted runs.
class DocumentJson
{
public:
    /// Compact JSON in a fixed key order; adjacent runs with equal formatting are merged.
    static QByteArray toJson(const QTextDocument& document);
    /// Replaces document's content with the JSON's; false with *error when json is not usable.
    static bool fromJson(const QByteArray& json, QTextDocument* document, QString* error);
};
