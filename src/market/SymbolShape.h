// The shapes of the application's own symbol notation, tested on the text
// alone: futures "/ESZ2", options "+...", indexes "$INDU", forex pairs
// "EUR/USD" (optionally "EUR/USD.X", "EUR/USD:X" or "EUR/USD:X.Y") and
// Toronto listings "CAT.ABC" or "CAV.ABC". The templates serve byte strings
// and UTF-16 system strings alike; a null text has no shape.
#pragma once

#include <cstddef>

namespace orv::symbol {

template <class Char>
std::size_t Length(const Char* text)
{
    std::size_t n = 0;
    if (text != nullptr) {
        while (text[n] != 0)
            ++n;
    }
    return n;
}

template <class Char>
bool IsFutures(const Char* text)
{
    return text != nullptr && text[0] == Char('/');
}

template <class Char>
bool IsOption(const Char* text)
{
    return text != nullptr && text[0] == Char('+');
}

template <class Char>
bool IsIndex(const Char* text)
{
    return text != nullptr && text[0] == Char('$');
}

// A pair is seven characters with "/" in the middle, optionally followed by
// ".X" or ":X" (nine characters) or ":X.Y" (eleven).
template <class Char>
bool IsForex(const Char* text, std::size_t length)
{
    if (text == nullptr || length < 7 || text[3] != Char('/'))
        return false;
    switch (length) {
    case 7:
        return true;
    case 9:
        return text[7] == Char(':') || text[7] == Char('.');
    case 11:
        return text[7] == Char(':') && text[9] == Char('.');
    default:
        return false;
    }
}

template <class Char>
bool IsForex(const Char* text)
{
    return IsForex(text, Length(text));
}

template <class Char>
bool IsCanadian(const Char* text)
{
    if (Length(text) <= 4 || text[0] != Char('C') || text[1] != Char('A') || text[3] != Char('.'))
        return false;
    return text[2] == Char('T') || text[2] == Char('V');
}

} // namespace orv::symbol
