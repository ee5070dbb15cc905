#pragma once

/// How the program asks for memory. A document of some megabytes lives in blocks of that size
/// (its text, its RTF, the two states Undo keeps), and they come and go whole.
class MemoryPolicy
{
public:
    /// Large blocks are mapped afresh and handed back to the system when freed. Left to itself,
    /// the C library starts taking blocks of the size last freed from its heap instead, which
    /// never shrinks, so a few open documents would keep the memory of all that were ever open.
    static void apply();
};
