#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_line.h"
#include "command_tokens.h"

namespace {

std::vector<std::string> words_of(const std::string& line, SplitResult* result = nullptr) {
    int count = -1;
    const SplitResult r = split_command_line(line.c_str(), count);
    if (result) *result = r;
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) words.emplace_back(CommandTokens[i]);
    return words;
}

using Words = std::vector<std::string>;

TEST(CommandLine, SplitsIntoAtMostFourWords) {
    EXPECT_EQ(words_of(""), Words{});
    EXPECT_EQ(words_of(" \t\r\v\f "), Words{});
    EXPECT_EQ(words_of("   q"), Words{"q"});
    EXPECT_EQ(words_of("d\t8000  100\rout.bin"), (Words{"d", "8000", "100", "out.bin"}));
    EXPECT_EQ(words_of("init e x y z"), (Words{"init", "e", "x", "y"}));
}

TEST(CommandLine, UnfilledFieldsAreZeroed) {
    words_of("w 8000 4000 somewhere-long.bin");
    words_of("d 1");
    EXPECT_STREQ(CommandTokens[2], "");
    EXPECT_STREQ(CommandTokens[3], "");
    for (size_t i = 1; i < kCommandWordSize; ++i) ASSERT_EQ(CommandTokens[1][i], '\0');
}

TEST(CommandLine, WordLongerThanItsFieldIsRefusedWhole) {
    SplitResult result;
    EXPECT_EQ(words_of("d 0 10 " + std::string(259, 'a'), &result).size(), 4u);
    EXPECT_EQ(result, SplitResult::ok);
    EXPECT_EQ(words_of("d 0 10 " + std::string(260, 'a'), &result), Words{});
    EXPECT_EQ(result, SplitResult::word_too_long);
    // A long fifth word is never looked at.
    EXPECT_EQ(words_of("a b c d " + std::string(400, 'e'), &result).size(), 4u);
    EXPECT_EQ(result, SplitResult::ok);
}

TEST(CommandLine, QuitIsRecognisedAfterLowerCasing) {
    char quit[] = "  Q now";
    EXPECT_EQ(handle_command_line(quit), -1);
    char blank[] = "   ";
    EXPECT_EQ(handle_command_line(blank), 0);
}

}  // namespace
