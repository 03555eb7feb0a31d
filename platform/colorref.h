#pragma once

#include <QColor>
#include <cstdint>

// Colours as the system's tables give them: 0x00BBGGRR.
using COLORREF = std::uint32_t;

constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b)
{
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}

constexpr unsigned GetRValue(COLORREF c) { return c & 0xFFu; }
constexpr unsigned GetGValue(COLORREF c) { return (c >> 8) & 0xFFu; }
constexpr unsigned GetBValue(COLORREF c) { return (c >> 16) & 0xFFu; }

namespace platform {

inline QColor toQColor(COLORREF c)
{
    return QColor(int(GetRValue(c)), int(GetGValue(c)), int(GetBValue(c)));
}

inline COLORREF toColorRef(const QColor& c)
{
    return RGB(unsigned(c.red()), unsigned(c.green()), unsigned(c.blue()));
}

} // namespace platform
