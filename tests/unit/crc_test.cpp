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

}  // namespace
