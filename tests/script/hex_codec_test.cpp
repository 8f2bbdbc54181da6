#include "hex_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script_buffers.h"

namespace {

std::string encode(const std::vector<uint8_t>& bytes, uint32_t capacity, int& result,
                   uint32_t& length) {
    std::string text(capacity + 4, '#');
    length = capacity;
    static const uint8_t kNoBytes = 0;
    const uint8_t* data = bytes.empty() ? &kNoBytes : bytes.data();
    result = hex_encode(data, static_cast<uint32_t>(bytes.size()), text.data(), &length);
    return text;
}

TEST(HexEncode, WritesUpperCaseDigitsHighNibbleFirst) {
    int result = 0;
    uint32_t length = 0;
    const std::string text = encode({0x00, 0x9F, 0xA0, 0xFF}, 9, result, length);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(length, 8u);
    EXPECT_EQ(text.substr(0, 9), std::string("009FA0FF\0", 9));
}

TEST(HexEncode, NeedsRoomForEveryDigitAndTheNul) {
    for (uint32_t n : {0u, 1u, 5u}) {
        const std::vector<uint8_t> bytes(n, 0x5A);
        int result = 0;
        uint32_t length = 0;
        std::string text = encode(bytes, 2 * n + 1, result, length);
        EXPECT_EQ(result, 1) << n;
        EXPECT_EQ(length, 2 * n) << n;
        std::string expected;
        for (uint32_t i = 0; i < n; ++i) expected += "5A";
        expected += std::string(1, '\0') + "#";
        EXPECT_EQ(text.substr(0, 2 * n + 2), expected) << n;

        text = encode(bytes, 2 * n, result, length);
        EXPECT_EQ(result, 0) << n;
        EXPECT_EQ(length, 0u) << n;
        EXPECT_EQ(text, std::string(2 * n + 4, '#')) << "nothing written, n=" << n;
    }
}

TEST(HexEncode, CapacityCheckDoesNotWrapAround) {
    // Twice 2^31 plus one wraps to 1 in 32 bits; the check must not.
    const uint8_t byte = 0;
    char text[4] = {'#', '#', '#', '#'};
    uint32_t length = 1;
    EXPECT_EQ(hex_encode(&byte, 0x80000000u, text, &length), 0);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(text[0], '#');
}

TEST(HexEncode, NullPointersFail) {
    const uint8_t byte = 1;
    char text[8];
    uint32_t length = sizeof text;
    EXPECT_EQ(hex_encode(nullptr, 1, text, &length), 0);
    EXPECT_EQ(length, 0u);
    length = sizeof text;
    EXPECT_EQ(hex_encode(&byte, 1, nullptr, &length), 0);
    EXPECT_EQ(length, 0u);
}

TEST(HexEncode, TextBufferHoldsAFullDataBuffer) {
    for (uint32_t i = 0; i < kScriptDataBufferSize; ++i) ScriptDataBuffer[i] = static_cast<uint8_t>(i);
    for (uint32_t n : {0xFFFFu, 0x10000u}) {
        uint32_t length = kScriptTextBufferSize;
        EXPECT_EQ(hex_encode(ScriptDataBuffer, n, ScriptTextBuffer, &length), 1) << n;
        EXPECT_EQ(length, 2 * n) << n;
        EXPECT_EQ(std::string(ScriptTextBuffer + 2 * n - 4), n == 0x10000u ? "FEFF" : "FDFE") << n;
    }
    uint32_t length = kScriptTextBufferSize;
    EXPECT_EQ(hex_encode(ScriptDataBuffer, 0x10001u, ScriptTextBuffer, &length), 0);
    EXPECT_EQ(length, 0u);
}

struct DecodeCase {
    std::string text;
    std::vector<uint8_t> bytes;
};

class HexDecodeCases : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(HexDecodeCases, Decodes) {
    const DecodeCase& c = GetParam();
    std::vector<uint8_t> out(16, 0xEE);
    uint32_t count = 16;
    EXPECT_EQ(hex_decode(c.text.c_str(), out.data(), &count), 1);
    ASSERT_EQ(count, c.bytes.size());
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + count), c.bytes);
    EXPECT_EQ(out[count], 0xEE);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HexDecodeCases,
    ::testing::Values(DecodeCase{"0a1B", {0x0A, 0x1B}}, DecodeCase{"0A1b", {0x0A, 0x1B}},
                      DecodeCase{"12 34\r\n56", {0x12, 0x34, 0x56}},
                      DecodeCase{"1-2", {0x12}}, DecodeCase{"ABC", {0xAB}},
                      DecodeCase{"0x41", {0x04}}, DecodeCase{"", {}}, DecodeCase{"xyz", {}},
                      DecodeCase{"G", {}}, DecodeCase{"7", {}},
                      // High bytes, alone or as a GBK character, never split a pair.
                      DecodeCase{"1\xC3" "2", {0x12}},
                      DecodeCase{"\xFF" "a\x80\xB0" "f\xD6\xB4", {0xAF}},
                      // The trail byte of a two-byte character can be a digit.
                      DecodeCase{"\xA3" "1\xA3" "2", {0x12}},
                      DecodeCase{std::string("12\0" "34", 5), {0x12}}));

TEST(HexDecode, OnlyThe22HexDigitsCount) {
    for (int code = 1; code < 256; ++code) {
        const char text[3] = {static_cast<char>(code), '0', '\0'};
        uint8_t out = 0xEE;
        uint32_t count = 1;
        ASSERT_EQ(hex_decode(text, &out, &count), 1);
        const bool digit = (code >= '0' && code <= '9') || (code >= 'A' && code <= 'F') ||
                           (code >= 'a' && code <= 'f');
        if (!digit) {
            EXPECT_EQ(count, 0u) << "code " << code;
            continue;
        }
        const int value = code <= '9' ? code - '0' : (code | 0x20) - 'a' + 10;
        EXPECT_EQ(count, 1u) << "code " << code;
        EXPECT_EQ(out, value * 16) << "code " << code;
    }
}

TEST(HexDecode, StopsAtTheCapacityAndReportsWhatFitted) {
    uint8_t out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    uint32_t count = 2;
    EXPECT_EQ(hex_decode("11 22 33 44", out, &count), 1);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(out[0], 0x11);
    EXPECT_EQ(out[1], 0x22);
    EXPECT_EQ(out[2], 0xEE);

    count = 0;
    EXPECT_EQ(hex_decode("11", out, &count), 1);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(out[0], 0x11);
}

TEST(HexDecode, FillsTheDataBufferFromOversizedText) {
    std::string text(2 * kScriptDataBufferSize + 8, '7');
    ScriptDataBuffer[kScriptDataBufferSize - 1] = 0;
    uint32_t count = kScriptDataBufferSize;
    EXPECT_EQ(hex_decode(text.c_str(), ScriptDataBuffer, &count), 1);
    EXPECT_EQ(count, kScriptDataBufferSize);
    EXPECT_EQ(ScriptDataBuffer[kScriptDataBufferSize - 1], 0x77);
}

TEST(HexDecode, NullArgumentsFailAndLeaveTheCount) {
    uint8_t out[2];
    uint32_t count = 2;
    EXPECT_EQ(hex_decode(nullptr, out, &count), 0);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(hex_decode("12", nullptr, &count), 0);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(hex_decode("12", out, nullptr), 0);
}

}  // namespace
