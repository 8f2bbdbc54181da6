// Console sessions against a dumper drive of temporary files. An input is a
// session: lines split at '\n' and handled as the prompt loop handles them,
// with every file the commands make kept inside throwaway folders. Each
// line's split is checked against the console's rules, and each save
// against what it told the user.

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "command_line.h"
#include "command_tokens.h"
#include "device_link.h"
#include "device_slots.h"
#include "drive_map.h"
#include "fuzz_check.h"
#include "fuzz_sandbox.h"
#include "hex_number.h"
#include "save_check.h"

namespace {

// Longer sessions only repeat what shorter ones reach, more slowly.
constexpr size_t kMaximumLines = 32;
constexpr uint32_t kImageSize = 0x11000;  // past 64 KiB, so wide addresses read too

struct Session {
    FuzzSandbox work{"fuzz-work"};
    FuzzSandbox drive{"fuzz-drive"};
    FuzzSandbox output{"fuzz-output"};
    platform::DriveMap drives;
    std::string identification = identification_file("NV4_PCB02_FW0102");
    std::string image;
};

Session* session = nullptr;
// libFuzzer names its corpus and findings relative to where it started.
int starting_folder = -1;

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\n'; }

std::vector<std::string> words_of(const std::string& line) {
    std::vector<std::string> words;
    size_t at = 0;
    for (;;) {
        while (at < line.size() && is_blank(line[at])) ++at;
        if (at == line.size()) return words;
        const size_t start = at;
        while (at < line.size() && !is_blank(line[at])) ++at;
        words.push_back(line.substr(start, at - start));
    }
}

// File names leading out of the two folders ("/x", "\x", "e:\..\x") would
// let the fuzzer write anywhere the user may; such lines are left out.
bool stays_inside(const std::vector<std::string>& words) {
    for (const std::string& w : words)
        if (w[0] == '/' || w[0] == '\\' || w.find("..") != std::string::npos) return false;
    return true;
}

// The split as the console's rules put it, worked out apart from the
// program's code: the first four words, each under 260 characters.
// Returns whether the line splits.
bool check_split(const std::string& lowered, const std::vector<std::string>& words) {
    const size_t kept = words.size() < kCommandWordCount ? words.size() : kCommandWordCount;
    bool too_long = false;
    for (size_t i = 0; i < kept; ++i) too_long = too_long || words[i].size() >= kCommandWordSize;

    int count = -1;
    const SplitResult result = split_command_line(lowered.c_str(), count);
    require((result == SplitResult::word_too_long) == too_long, "a word of 260 characters or more refuses the line");
    require(count == (too_long ? 0 : static_cast<int>(kept)), "word count");
    for (size_t i = 0; i < kCommandWordCount; ++i) {
        char expected[kCommandWordSize] = {};
        if (!too_long && i < kept) std::memcpy(expected, words[i].data(), words[i].size());
        require(std::memcmp(CommandTokens[i], expected, kCommandWordSize) == 0, "a word field differs");
    }
    return !too_long;
}

// What the console has printed from the given offset on.
std::string output_since(long offset) {
    std::fflush(stdout);
    const std::string all = read_whole_file(session->output.file("stdout"));
    return all.substr(static_cast<size_t>(offset));
}

std::optional<SaveSnapshot> snapshot_if_save(const std::vector<std::string>& words) {
    if (words.size() < 4 || words[0] != "d") return std::nullopt;
    std::string path;
    if (!platform::resolve_drive_path(session->drives, words[3].c_str(), path)) path.clear();
    return take_save_snapshot(path, session->drive.file("DUMP.ROM"), parse_hex_number(words[1].c_str()));
}

// Back to a freshly started program on a fresh drive.
void reset_session() {
    session->work.empty();
    session->drive.empty();
    std::fflush(stdout);
    if (::ftruncate(::fileno(stdout), 0) != 0) std::abort();
    std::rewind(stdout);
    write_fixture(session->drive.file("Q-DRIVER.DMP"), session->identification);
    write_fixture(session->drive.file("DUMP.ROM"), session->image);
    reset_device_slots();
    select_device(0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    session = new Session;
    session->image.resize(kImageSize);
    for (uint32_t k = 0; k < kImageSize; ++k)
        session->image[k] = static_cast<char>((k * 7 + (k >> 8)) & 0xFF);
    starting_folder = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (starting_folder < 0) std::abort();
    const std::string map = "E=" + session->drive.path();
    ::setenv("CALDRIN_DRIVES", map.c_str(), 1);
    std::vector<std::string> errors;
    session->drives = platform::parse_drive_map(map, errors);
    silence_standard_streams();
    if (std::freopen(session->output.file("stdout").c_str(), "w+", stdout) == nullptr) std::abort();
    std::atexit([] { delete session; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Files the commands name land in the work folder, as they would in the
    // user's current folder.
    if (::chdir(session->work.path().c_str()) != 0) std::abort();
    reset_session();
    const std::string input(reinterpret_cast<const char*>(data), size);
    size_t at = 0;
    for (size_t lines = 0; at < input.size() && lines < kMaximumLines; ++lines) {
        size_t end = input.find('\n', at);
        if (end == std::string::npos) end = input.size();
        std::string line = input.substr(at, end - at);
        at = end + 1;
        if (line.size() > kCommandLineSize - 1) {
            report_line_too_long();
            continue;
        }
        // The prompt loop stores a zero byte like any other; it ends the line.
        line = line.c_str();
        std::string lowered = line;
        for (char& c : lowered)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        const std::vector<std::string> words = words_of(lowered);
        if (!stays_inside(words)) continue;
        const bool splits = check_split(lowered, words);
        const std::optional<SaveSnapshot> save = splits ? snapshot_if_save(words) : std::nullopt;
        std::fflush(stdout);
        const long printed = std::ftell(stdout);

        // The line buffer exactly as large as the console's, so a read or
        // write past it is caught.
        std::unique_ptr<char[]> buffer(new char[kCommandLineSize]);
        std::memcpy(buffer.get(), line.c_str(), line.size() + 1);
        const int result = handle_command_line(buffer.get());
        if (save) check_save(*save, output_since(printed));
        if (result == -1) break;
    }
    std::fflush(stdout);
    if (::fchdir(starting_folder) != 0) std::abort();
    return 0;
}
