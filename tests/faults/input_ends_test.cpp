// Standard input that ends while a script is reading it: the script gets
// nil (or what came before the end), runs to its end, and the program ends
// cleanly at the prompt that follows.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "device_drive.h"
#include "dump_session.h"
#include "files.h"
#include "temp_dir.h"

namespace {

struct InputCase {
    const char* name;
    const char* script;
    const char* after_do;  // what standard input holds after "do ask.lua\n"
    const char* output;    // everything printed after the help text
};

class InputEnds : public ::testing::TestWithParam<InputCase> {};

TEST_P(InputEnds, ScriptGetsWhatCameAndTheProgramEnds) {
    const InputCase& c = GetParam();
    TempDir dir;
    ::mkdir(dir.file("drive").c_str(), 0755);
    make_device_drive(dir.file("drive"), kFamicomRecord);
    ::mkdir(dir.file("work").c_str(), 0755);
    write_file(dir.file("work/ask.lua"), c.script);

    const ProgramResult r = linux_program()->run({{'E', dir.file("drive")}},
                                                 std::string("do ask.lua\n") + c.after_do, dir.file("work"));

    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    const size_t end = r.out.find("\n\n");
    ASSERT_NE(end, std::string::npos) << r.out;
    EXPECT_EQ(r.out.substr(end + 2), c.output);
}

const char kOneLine[] = "print('line: ' .. tostring(io.read('*l')))\n";
const char kNumber[] = "print('number: ' .. tostring(io.read('*n')))\n";
const char kEveryLine[] =
    "local n = 0\n"
    "while io.read('*l') do n = n + 1 end\n"
    "print(n .. ' lines, then ' .. tostring(io.read('*l')))\n";

const InputCase kInputCases[] = {
    {"line_at_the_end", kOneLine, "", "-line: nil\n-"},
    {"line_without_its_end", kOneLine, "abc", "-line: abc\n-"},
    {"number_at_the_end", kNumber, "", "-number: nil\n-"},
    {"number_cut_off", kNumber, "  ", "-number: nil\n-"},
    {"read_past_the_end", kEveryLine, "a\nb\n", "-2 lines, then nil\n-"},
};

INSTANTIATE_TEST_SUITE_P(Reads, InputEnds, ::testing::ValuesIn(kInputCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
