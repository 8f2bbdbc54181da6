#pragma once
#include <cstddef>

constexpr size_t kCommandWordCount = 4;
constexpr size_t kCommandWordSize = 260;  // 259 characters and the zero byte

// The words of the current command line: word 1 is the command, words 2 to 4
// its parameters. Fields the line did not fill are empty.
extern char CommandTokens[kCommandWordCount][kCommandWordSize];
