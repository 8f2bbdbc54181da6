// The rule every dump read follows, with the device's reads scripted: two
// reads, and when they differ up to three more, any two alike winning; the
// bank switched again before each. The emulator never reads wrong, so this
// runs the module in the program with fd_CpuReadAscii replaced.

#include <gtest/gtest.h>

#include "caldrin_runner.h"
#include "dump_session.h"
#include "files.h"
#include "temp_dir.h"

namespace {

struct ReadCase {
    const char* name;
    const char* reads;     // what successive reads return, Lua list of hex texts ("" fails)
    const char* expected;  // the line the script prints
};

// Prints "got HEX after N reads, N selects" or "stop: MESSAGE".
const char kScript[] = R"(local separator = package.config:sub(1, 1)
package.path = fd_GetPath() .. separator .. "lua" .. separator .. "?.lua;" .. package.path
local read = require "dump_read"
local reads, selects = 0, 0
local answers = %s
fd_CpuReadAscii = function(address, length)
    reads = reads + 1
    local hex = answers[reads] or ""
    return #hex, hex
end
local ok, message = read.catch(function()
    local hex = read.block("PRG ROM bank 3", 2, function()
        selects = selects + 1
        return 0x8000
    end)
    print(string.format("got %%s after %%d reads, %%d selects", hex, reads, selects))
end)
if not ok then print("stop: " .. message) end
)";

class VerifiedRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(VerifiedRead, TakesTwoReadsAlike) {
    const ReadCase& c = GetParam();
    TempDir dir;
    char script[2048];
    std::snprintf(script, sizeof script, kScript, c.reads);
    write_file(dir.file("read.lua"), script);

    const ProgramResult r = linux_program()->run({}, "do read.lua\n", dir.path());

    EXPECT_NE(r.out.find(std::string("\n-") + c.expected + "\n"), std::string::npos)
        << "expected: " << c.expected << "\n" << r.out;
}

const ReadCase kReads[] = {
    {"two_alike", R"({"1234", "1234"})", "got 1234 after 2 reads, 2 selects"},
    {"third_settles_it", R"({"1234", "1334", "1334"})", "got 1334 after 3 reads, 3 selects"},
    {"fourth_matches_the_first", R"({"1234", "1334", "1434", "1234"})", "got 1234 after 4 reads, 4 selects"},
    {"fifth_is_the_last_chance", R"({"1234", "1334", "1434", "1534", "1434"})", "got 1434 after 5 reads, 5 selects"},
    {"short_read_is_no_read", R"({"12", "1234", "12", "1234"})", "got 1234 after 4 reads, 4 selects"},
    {"never_alike", R"({"1234", "1334", "1434", "1534", "1634"})",
     "stop: PRG ROM bank 3: 5 reads, no two alike.\nClean the cartridge contacts and seat it again."},
    {"device_gone", R"({"1234"})",
     "stop: PRG ROM bank 3: 4 of 5 reads came back empty; the device stopped answering.\nIs the dumper still "
     "connected, with the cartridge in it?"},
};

INSTANTIATE_TEST_SUITE_P(Reads, VerifiedRead, ::testing::ValuesIn(kReads),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
