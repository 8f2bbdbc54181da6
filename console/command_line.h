#pragma once
#include <cstddef>

constexpr size_t kCommandLineSize = 1024;  // 1023 characters and the zero byte

// Result of splitting a line into CommandTokens.
enum class SplitResult { ok, word_too_long };

// Zero-fills CommandTokens and copies up to four blank-separated words of the
// line into them; words past the fourth are ignored. A word that would not
// fit its field fills nothing and is refused whole.
SplitResult split_command_line(const char* line, int& word_count);

// Lower-cases the line in place, splits it and runs its command. Returns -1
// after "q", 0 after anything else.
int handle_command_line(char* line);

// Printed for a line that did not fit the line buffer; nothing of it runs.
void report_line_too_long();
