#pragma once

#include <QFont>

/// The editor's default font, the one fact the editor, the RTF tool, tests and benchmarks share.
class EditorFont
{
public:
    /// Fixedsys 9 pt; where the system lacks it, its fixed-pitch font at 9 pt. Without a GUI
    /// application there is no font database to ask, and the font stays Fixedsys by name.
    static QFont defaultFont();
};
