#pragma once

/// Faces that stand in for the fonts manuscripts name most when those are not installed: each
/// has the same widths as the one it replaces, so lines and pages break as the author saw them.
class FontFallbacks
{
public:
    /// Once, at start-up, before any text is laid out.
    static void install();
};
