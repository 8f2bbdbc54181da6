#include <gtest/gtest.h>

#include "hex_number.h"

namespace {

TEST(HexNumber, ReadsBase16ByOneRule) {
    const struct {
        const char* word;
        int32_t value;
    } cases[] = {
        {"8000", 0x8000},          {"0x8000", 0x8000},      {"0X1f", 0x1F},
        {"+10", 0x10},             {"-1", -1},              {"-0x10", -0x10},
        {"12zz", 0x12},            {"zz", 0},               {"", 0},
        {"0x", 0},                 {"0xg", 0},              {"-", 0},
        {"7fffffff", 0x7FFFFFFF},  {"ffffffff", 0x7FFFFFFF}, {"80000000", 0x7FFFFFFF},
        {"123456789abc", 0x7FFFFFFF}, {"-80000000", INT32_MIN}, {"-80000001", INT32_MIN},
        {"-ffffffffffff", INT32_MIN}, {"00000000000000001", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(parse_hex_number(c.word), c.value) << c.word;
}

TEST(HexNumber, LengthRuleCapsAtTheBuffer) {
    const struct {
        const char* word;
        uint32_t length;
    } cases[] = {
        {"0", 0},         {"100", 0x100},     {"10000", 0x10000}, {"10001", 0x10000},
        {"20000", 0x10000}, {"-1", 0x10000},  {"ffffffff", 0x10000}, {"x", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(parse_transfer_length(c.word), c.length) << c.word;
}

}  // namespace
