#pragma once

#include "formats/base/PageFurniture.h"
#include "formats/base/Progress.h"
#include "formats/odt/OdtStyleSheet.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>
#include <optional>

class BuildSteps;
class OdtPackage;
class OdtStoryBuilder;
class QTextDocument;
class XmlReader;

/// Reads an OpenDocument text file into a QTextDocument: its body, styles, page, headers and
/// footers, notes, pictures, title and author.
class OdtReader
{
public:
    /// False, with errorString(), when data is not a readable OpenDocument text; the document
    /// is then left half filled, for the caller to drop.
    bool read(const QByteArray& data, QTextDocument& document, const Progress& progress = {});
    QString errorString() const { return m_error; }
    /// The page the body is laid out on, when the file says.
    std::optional<OdtPage> page() const { return m_page; }

    /// Whether data starts as an OpenDocument text package does: a zip whose first part, the
    /// mimetype, names a text document.
    static bool isOdt(QByteArrayView data);

private:
    /// A master page: the page layout it uses and its headers and footers.
    struct MasterPage
    {
        QString layout;
        /// The page style of the pages after the first, for a first page's own style.
        QString next;
        PageFurniture furniture;
        bool header = false;
        bool footer = false;
    };

    /// What the body said of the document beyond its text.
    struct Content
    {
        QString masterPage;
        bool notes = false;
    };

    /// Reads part name with readTop, which gets the reader on the part's root element and the
    /// part's size; false, with the reason, when the part is missing or damaged.
    bool readPart(OdtPackage& package, const QString& name,
                  const std::function<void(XmlReader&, qint64)>& readTop);
    /// The same for the part's bytes.
    bool parsePart(const QByteArray& bytes, const QString& name,
                   const std::function<void(XmlReader&, qint64)>& readTop);
    /// Reads content.xml into document, on a second thread when it is large.
    bool readContentPart(OdtPackage& package, QTextDocument& document, const Progress& progress);
    bool isEncrypted(OdtPackage& package);
    void readMeta(XmlReader& xml, QTextDocument& document);
    void readStyles(XmlReader& xml, OdtPackage& package, QTextDocument& document);
    void readMasterPage(XmlReader& xml, OdtPackage& package, QTextDocument& document);
    QByteArray readStory(XmlReader& xml, OdtPackage& package, QTextDocument& document);
    Content readContent(XmlReader& xml, OdtPackage& package, OdtStoryBuilder& builder,
                        BuildSteps& steps, const Progress& progress, qint64 total);
    void keepPage(const QString& masterName, QTextDocument& document);
    /// Numbers the notes read as the styles say.
    void numberNotes(QTextDocument& document) const;
    /// The master page named, or the file's first; null when there is none.
    const MasterPage* masterPage(const QString& name) const;
    /// What the pages of master carry; a first page's own style gives the first page's.
    PageFurniture furnitureOf(const MasterPage& master, bool* header, bool* footer) const;

    OdtStyleSheet m_styles;
    QHash<QString, MasterPage> m_masterPages;
    QString m_firstMasterPage;
    std::optional<OdtPage> m_page;
    QString m_error;
};
