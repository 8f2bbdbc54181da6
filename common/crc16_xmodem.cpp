#include "crc16_xmodem.h"

#include <array>

namespace {

std::array<uint16_t, 256> make_crc16_table() {
    std::array<uint16_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i << 8;
        for (int bit = 0; bit < 8; ++bit) c = (c & 0x8000) ? (c << 1) ^ 0x1021 : c << 1;
        table[i] = static_cast<uint16_t>(c);
    }
    return table;
}

const std::array<uint16_t, 256> kCrc16Table = make_crc16_table();

}  // namespace

uint16_t crc16_xmodem(const uint8_t* data, size_t count) {
    uint16_t c = 0;
    for (size_t i = 0; i < count; ++i)
        c = static_cast<uint16_t>((c << 8) ^ kCrc16Table[((c >> 8) ^ data[i]) & 0xFF]);
    return c;
}
