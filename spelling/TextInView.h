#pragma once

#include <utility>

class QTextEdit;

/// The stretch of text an editor shows, found from the places its layout gave the blocks and
/// their lines, which it keeps, without reading any paragraph's characters.
class TextInView
{
public:
    /// The first and the last text position in view.
    static std::pair<int, int> positions(const QTextEdit& editor);
};
