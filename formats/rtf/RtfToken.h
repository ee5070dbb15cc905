#pragma once

#include <string_view>

/// One lexical unit of an RTF stream; views point into the tokenizer's input.
struct RtfToken
{
    enum class Type { GroupStart, GroupEnd, ControlWord, ControlSymbol, HexByte, Text, End };

    Type type = Type::End;
    /// The control word's letters, or the bytes of a text span.
    std::string_view bytes;
    bool hasParameter = false;
    int parameter = 0;
    /// The character after the backslash of a control symbol, or the value of a \'hh byte.
    unsigned char value = 0;
};
