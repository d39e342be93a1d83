#include "web/GbkTable.h"

#include <iconv.h>

#include <cstring>
#include <memory>

namespace quillmarsh::gbk {
namespace {

// Windows maps the user-defined areas of code page 936 to the Private Use Area; the C library's
// converter leaves them out, so they are added here to keep such bytes round-tripping.
void AddUserDefinedAreas(Tables& t)
{
    char16_t unit = 0xE000;
    for (int lead = 0xAA; lead <= 0xAF; ++lead)
        for (int trail = 0xA1; trail <= 0xFE; ++trail)
            t.doubleByte[lead << 8 | trail] = unit++;
    for (int lead = 0xF8; lead <= 0xFE; ++lead)
        for (int trail = 0xA1; trail <= 0xFE; ++trail)
            t.doubleByte[lead << 8 | trail] = unit++;
    for (int lead = 0xA1; lead <= 0xA7; ++lead)
        for (int trail = 0x40; trail <= 0xA0; ++trail)
            if (trail != 0x7F && t.doubleByte[lead << 8 | trail] == 0)
                t.doubleByte[lead << 8 | trail] = unit++;
}

std::unique_ptr<Tables> Build()
{
    auto t = std::make_unique<Tables>();
    std::memset(t.get(), 0, sizeof(Tables));

    iconv_t cd = iconv_open("UTF-16LE", "CP936");
    if (cd != reinterpret_cast<iconv_t>(-1)) {
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                if (trail == 0x7F)
                    continue;
                char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                unsigned char out[8];
                char* ip = in;
                char* op = reinterpret_cast<char*>(out);
                size_t il = 2, ol = sizeof out;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                if (iconv(cd, &ip, &il, &op, &ol) != static_cast<size_t>(-1) && il == 0 && ol == sizeof out - 2)
                    t->doubleByte[lead << 8 | trail] = static_cast<char16_t>(out[0] | out[1] << 8);
            }
        }
        iconv_close(cd);
    }
    AddUserDefinedAreas(*t);

    for (unsigned b = 0; b < 0x80; ++b)
        t->fromUnicode[b] = static_cast<std::uint16_t>(b);
    t->fromUnicode[0x20AC] = 0x80; // the euro sign, code page 936's single byte 0x80
    t->fromUnicode[0xF8F5] = 0xFF; // and 0xFF, which Windows maps into the Private Use Area
    for (unsigned code = 0x8140; code <= 0xFEFE; ++code) {
        char16_t u = t->doubleByte[code];
        if (u >= 0x80 && t->fromUnicode[u] == 0)
            t->fromUnicode[u] = static_cast<std::uint16_t>(code);
    }
    return t;
}

} // namespace

const Tables& GetTables()
{
    static const std::unique_ptr<Tables> tables = Build();
    return *tables;
}

} // namespace quillmarsh::gbk
