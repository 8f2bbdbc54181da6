#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "crc16_xmodem.h"
#include "crc32.h"

namespace {

const uint8_t* text(const char* s) { return reinterpret_cast<const uint8_t*>(s); }

TEST(Crc, CheckValues) {
    EXPECT_EQ(crc32(text("123456789"), 9), 0xCBF43926u);
    EXPECT_EQ(crc16_xmodem(text("123456789"), 9), 0x31C3u);
}

TEST(Crc, NoBytes) {
    EXPECT_EQ(crc32(nullptr, 0), 0u);
    EXPECT_EQ(crc16_xmodem(nullptr, 0), 0u);
}

TEST(Crc, AllByteValuesAgreeWithBitwiseDefinition) {
    std::vector<uint8_t> data(1000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 131 + 7);
    uint32_t c32 = 0xFFFFFFFFu;
    uint16_t c16 = 0;
    for (uint8_t b : data) {
        c32 ^= b;
        for (int k = 0; k < 8; ++k) c32 = (c32 & 1) ? (c32 >> 1) ^ 0xEDB88320u : c32 >> 1;
        c16 ^= static_cast<uint16_t>(b << 8);
        for (int k = 0; k < 8; ++k) c16 = static_cast<uint16_t>((c16 & 0x8000) ? (c16 << 1) ^ 0x1021 : c16 << 1);
    }
    EXPECT_EQ(crc32(data.data(), data.size()), c32 ^ 0xFFFFFFFFu);
    EXPECT_EQ(crc16_xmodem(data.data(), data.size()), c16);
}

// Long buffers are checksummed in parts that are joined afterwards; lengths
// around the point where that starts and with every remainder of the split.
TEST(Crc, LongBuffersAgreeWithBitwiseDefinition) {
    std::vector<uint8_t> data(70001);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 131 + (i >> 8));
    for (size_t count : {4095u, 4096u, 4097u, 4098u, 4099u, 16384u, 65536u, 70001u}) {
        uint32_t c = 0xFFFFFFFFu;
        for (size_t i = 0; i < count; ++i) {
            c ^= data[i];
            for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
        }
        EXPECT_EQ(crc32(data.data(), count), c ^ 0xFFFFFFFFu) << count << " bytes";
    }
    const std::vector<uint8_t> zeros(65536, 0);
    EXPECT_EQ(crc32(zeros.data(), zeros.size()), 0xD7978EEBu);
}

// Every block count from none to past two steps of four, on blocks that
// all differ and with a gap between them that must not be read.
TEST(Crc, BlocksAgreeWithOneBlockAtATime) {
    constexpr size_t kCount = 510, kStride = 512;
    std::vector<uint8_t> data(10 * kStride);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 131 + (i >> 9));
    for (size_t blocks = 0; blocks <= 10; ++blocks) {
        std::vector<uint16_t> crcs(blocks + 1, 0xBEEF);
        crc16_xmodem_blocks(data.data(), kCount, kStride, blocks, crcs.data());
        for (size_t k = 0; k < blocks; ++k)
            EXPECT_EQ(crcs[k], crc16_xmodem(data.data() + k * kStride, kCount)) << blocks << " blocks, block " << k;
        EXPECT_EQ(crcs[blocks], 0xBEEF) << "written past the last of " << blocks;
    }
}

}  // namespace
