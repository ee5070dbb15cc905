#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QTextDocument;
class QTextStream;

/// `quillmere --convert-to FORMAT [--outdir DIR] FILE...`: reads each file as Open does and writes
/// it beside the others in DIR under its base name and FORMAT as extension, with no window. FORMAT
/// is the extension of a format Save writes, or pdf to print.
class ConvertCommand
{
public:
    /// The command arguments give, or nothing when they ask for no conversion. A command with a
    /// fault (an unknown format, no files) is returned with the fault in usageError().
    static std::optional<ConvertCommand> parse(const QStringList& arguments);
    /// Whether arguments ask for a conversion, before any application exists to parse them.
    static bool isRequested(int argc, char* argv[]);

    /// Converts every file, telling errors "FILE: why" one a line; 0 when every file converted.
    int run(QTextStream& errors) const;
    QString usageError() const { return m_usageError; }

private:
    /// Converts file, unless its result would replace one of those written before.
    QString convert(const QString& file, QStringList& written) const;
    QString writeTo(const QString& path, QTextDocument& document) const;

    QString m_format;
    QString m_outDir;
    QStringList m_files;
    QString m_usageError;
};
