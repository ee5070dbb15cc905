#pragma once

#include <QFont>

class QObject;
class QTextDocument;

/// A fresh document as Quillmere keeps them, the one recipe the editor, the readers, the RTF
/// tool, the tests and the benchmarks share.
class BlankDocument
{
public:
    /// An empty document in the default font, with RTF's default tab stops every half inch and
    /// its paragraphs' direction followed. It keeps no history of edits until it is shown.
    static QTextDocument* create(QObject* parent = nullptr);
    /// create() for the writer to start on: on the paper of the system's country, so what is
    /// saved says its page.
    static QTextDocument* createNew(QObject* parent = nullptr);

    /// Fixedsys 9 pt; where the system lacks it, its fixed-pitch font at 9 pt. Without a GUI
    /// application there is no font database to ask, and the font stays Fixedsys by name.
    static QFont defaultFont();
};
