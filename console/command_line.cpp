#include "command_line.h"

#include <cstdio>
#include <cstring>

#include "command_tokens.h"
#include "device_link.h"
#include "help_text.h"
#include "memory_commands.h"
#include "script_runner.h"

char CommandTokens[kCommandWordCount][kCommandWordSize];

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\n'; }

void lower_case(char* line) {
    for (char* p = line; *p != '\0'; ++p)
        if (*p >= 'A' && *p <= 'Z') *p = static_cast<char>(*p - 'A' + 'a');
}

const char* word(int index) { return CommandTokens[index]; }

bool is_word(int index, const char* text) { return std::strcmp(word(index), text) == 0; }

// "init" and "list" are recognised by their first four characters.
bool starts_with(int index, const char* text) { return std::strncmp(word(index), text, 4) == 0; }

void init_command(int word_count) {
    const char letter = word_count >= 2 ? word(1)[0] : 0;
    if (select_device(letter) == 0) std::printf("init error,not find dump device\n");
}

void do_command(int word_count) {
    if (word_count != 2) {
        std::printf("invalid parameter\n");
        return;
    }
    run_script(word(1));
}

}  // namespace

SplitResult split_command_line(const char* line, int& word_count) {
    std::memset(CommandTokens, 0, sizeof CommandTokens);
    word_count = 0;
    const char* p = line;
    while (word_count < static_cast<int>(kCommandWordCount)) {
        while (*p != '\0' && is_blank(*p)) ++p;
        if (*p == '\0') break;
        const char* start = p;
        while (*p != '\0' && !is_blank(*p)) ++p;
        const size_t length = static_cast<size_t>(p - start);
        if (length >= kCommandWordSize) {
            std::memset(CommandTokens, 0, sizeof CommandTokens);
            word_count = 0;
            return SplitResult::word_too_long;
        }
        std::memcpy(CommandTokens[word_count], start, length);
        ++word_count;
    }
    return SplitResult::ok;
}

void report_line_too_long() { std::printf("invalid command,line too long\n"); }

int handle_command_line(char* line) {
    lower_case(line);
    int word_count = 0;
    if (split_command_line(line, word_count) == SplitResult::word_too_long) {
        std::printf("invalid command,word too long\n");
        return 0;
    }
    if (word_count == 0) return 0;

    if (is_word(0, "h") || is_word(0, "?")) {
        print_help_text();
    } else if (is_word(0, "w")) {
        memory_write_command(word_count);
    } else if (is_word(0, "d")) {
        memory_dump_command(word_count);
    } else if (is_word(0, "a")) {
        // Accepted and ignored: there is no disassembler.
    } else if (is_word(0, "q")) {
        return -1;
    } else if (starts_with(0, "init")) {
        init_command(word_count);
    } else if (is_word(0, "do")) {
        do_command(word_count);
    } else if (starts_with(0, "list")) {
        list_devices();
    } else {
        std::printf("invalid command\n");
    }
    return 0;
}
