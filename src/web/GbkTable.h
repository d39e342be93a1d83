#pragma once

#include <cstdint>

// Code page 936 (GBK) as Windows defines it, held as two lookup tables that are built once
// from the C library's converter. Program text is GBK whatever the machine's locale, so every
// conversion of the program goes through these tables rather than through the locale.
namespace quillmarsh::gbk {

// Lead byte of a double-byte character.
constexpr bool IsLead(std::uint8_t b) { return b >= 0x81 && b <= 0xFE; }
// Second byte of a double-byte character.
constexpr bool IsTrail(std::uint8_t b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// What a code unit that GBK cannot hold becomes, and what bytes that are no GBK character become.
constexpr char16_t kDefaultUnit = u'?';
constexpr char kDefaultByte = '?';

struct Tables {
    // Indexed by lead << 8 | trail; 0 where the pair names no character.
    char16_t doubleByte[65536];
    // Indexed by the UTF-16 unit: the GBK code (a single byte below 0x100, else lead << 8 | trail);
    // 0 where GBK cannot hold the unit (U+0000 itself maps to 0 too, which is what it is).
    std::uint16_t fromUnicode[65536];
};

const Tables& GetTables();

// Number of bytes the character at text[i] takes (1 or 2), given n bytes in all.
inline int CharLength(const unsigned char* text, std::size_t i, std::size_t n)
{
    return (IsLead(text[i]) && i + 1 < n && IsTrail(text[i + 1])) ? 2 : 1;
}

} // namespace quillmarsh::gbk
