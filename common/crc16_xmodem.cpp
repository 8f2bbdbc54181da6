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

// The register kept wider than 16 bits: only bits 8 to 15 pick the entry and
// the bits above 15 are dropped once at the end, which saves a step per byte.
inline uint32_t crc16_step(uint32_t c, uint8_t b) { return (c << 8) ^ kCrc16Table[((c >> 8) ^ b) & 0xFF]; }

constexpr size_t kBlocksInStep = 4;

}  // namespace

uint16_t crc16_xmodem(const uint8_t* data, size_t count) {
    uint32_t c = 0;
    for (size_t i = 0; i < count; ++i) c = crc16_step(c, data[i]);
    return static_cast<uint16_t>(c);
}

void crc16_xmodem_blocks(const uint8_t* data, size_t count, size_t stride, size_t blocks,
                         uint16_t* crcs) {
    size_t block = 0;
    for (; block + kBlocksInStep <= blocks; block += kBlocksInStep) {
        const uint8_t* p = data + block * stride;
        uint32_t c[kBlocksInStep] = {};
        for (size_t i = 0; i < count; ++i)
            for (size_t k = 0; k < kBlocksInStep; ++k) c[k] = crc16_step(c[k], p[k * stride + i]);
        for (size_t k = 0; k < kBlocksInStep; ++k) crcs[block + k] = static_cast<uint16_t>(c[k]);
    }
    for (; block < blocks; ++block) crcs[block] = crc16_xmodem(data + block * stride, count);
}
