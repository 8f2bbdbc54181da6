#include "crc32.h"

#include <array>

namespace {

std::array<uint32_t, 256> make_crc32_table() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
        table[i] = c;
    }
    return table;
}

const std::array<uint32_t, 256> kCrc32Table = make_crc32_table();

}  // namespace

uint32_t crc32(const uint8_t* data, size_t count) {
    if (count == 0) return 0;
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < count; ++i) c = kCrc32Table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}
