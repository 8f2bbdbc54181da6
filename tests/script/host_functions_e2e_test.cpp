// Scripts using host files and folders, the NES header, printing, the clock
// and bit operations.

#include <gtest/gtest.h>

#include "device_drive.h"
#include "files.h"
#include "script_session.h"

namespace {

HostFile script(const std::string& text) { return {"t.lua", text}; }

std::vector<ScriptCase> host_cases() {
    const Cartridge fc = Cartridge::famicom;
    const std::string run = "do t.lua\n";
    const std::string big = pattern_image(0x11000);
    return {
        {"WriteFileAppends", fc,
         {script("print(fd_WriteFile('new.txt', 'abc', 0))\nprint(fd_WriteFile('new.txt', 'abc', 0))\n"
                 "print(fd_WriteFile('old.txt', 'abc', 0))"),
          {"old.txt", "xy"}},
         run, session(fc, {"3\n3\n3\n"}), std::nullopt,
         {{"new.txt", std::string("abcabc")}, {"old.txt", std::string("xyabc")}}},
        {"WriteFileDecodesHexForAnyNonZeroFlag", fc,
         {script("print(fd_WriteFile('hex.bin', '41 42 4', 1))\nprint(fd_WriteFile('hex.bin', '0a', -7))\n"
                 "print(fd_WriteFile('hex.bin', 'no digits', 1))")},
         run, session(fc, {"2\n1\n0\n"}), std::nullopt, {{"hex.bin", std::string("AB\n")}}},
        {"WriteFileTextEndsAtAZeroByte", fc, {script("print(fd_WriteFile('z.txt', 'ab\\0cd', 0))")}, run,
         session(fc, {"2\n"}), std::nullopt, {{"z.txt", std::string("ab")}}},
        {"WriteFileThatCannotOpen", fc, {script("print(fd_WriteFile('missing/out.txt', 'abc', 0))")}, run,
         session(fc, {"-1\n"}), std::nullopt, {{"missing", std::nullopt}}},
        {"WriteFileAppendsAtMost64KiBOfHex", fc,
         {script("print(fd_WriteFile('cap.bin', string.rep('5a', 0x10001), 1))")}, run,
         session(fc, {"65536\n"}), std::nullopt, {{"cap.bin", std::string(0x10000, 'Z')}}},
        {"ReadFile", fc,
         {script("print(fd_ReadFile('data.bin', 0, 3))\nprint(fd_ReadFile('data.bin', 1, 100))\n"
                 "print(fd_ReadFile('data.bin', 3, 1))\nprint(fd_ReadFile('data.bin', -5, 2))\n"
                 "print(fd_ReadFile('missing.bin', 0, 3))\nprint(fd_ReadFile('data.bin', 0, 0))"),
          {"data.bin", bytes({0x01, 0xAB, 0xFF})}},
         run, session(fc, {"6\t01ABFF\n4\tABFF\n0\t\n4\t01AB\n-1\t\n0\t\n"})},
        {"ReadFileOf64KiB", fc,
         {script("local n, text = fd_ReadFile('big.bin', 0x100, 65536)\n"
                 "print(n, #text, fd_WriteFile('copy.bin', text, 1))"),
          {"big.bin", big}},
         run, session(fc, {"131072\t131072\t65536\n"}), std::nullopt,
         {{"copy.bin", big.substr(0x100, 0x10000)}}},
        {"ReadFileLengthOutOfRange", fc,
         {{"a.lua", "fd_ReadFile('data.bin', 0, 65537)"}, {"b.lua", "fd_ReadFile('data.bin', 0, -1)"},
          {"data.bin", "x"}},
         "do a.lua\ndo b.lua\n",
         session(fc, {argument_error("a.lua", 1, 3, "fd_ReadFile", "length out of range"),
                      argument_error("b.lua", 1, 3, "fd_ReadFile", "length out of range")})},
        {"FileArgumentsAreCheckedBeforeActing", fc,
         {{"a.lua", "fd_WriteFile('x.txt', 'y')"}, {"b.lua", "fd_ReadFile('data.bin', 0)"},
          {"c.lua", "fd_WriteDir(nil)"}, {"d.lua", "fd_DelFile({})"}, {"data.bin", "x"}},
         "do a.lua\ndo b.lua\ndo c.lua\ndo d.lua\n",
         session(fc, {argument_error("a.lua", 1, 3, "fd_WriteFile", "number expected, got no value"),
                      argument_error("b.lua", 1, 3, "fd_ReadFile", "number expected, got no value"),
                      argument_error("c.lua", 1, 1, "fd_WriteDir", "string expected, got nil"),
                      argument_error("d.lua", 1, 1, "fd_DelFile", "string expected, got table")}),
         std::nullopt, {{"x.txt", std::nullopt}}},
        {"FoldersAndExistence", fc,
         {script("print(fd_WriteDir('sub'), fd_WriteDir('sub'), fd_WriteDir('no/such'))\n"
                 "print(fd_ExistFile('sub'), fd_ExistFile('data.bin'), fd_ExistFile('gone'))\n"
                 "print(select('#', fd_ExistFile()), select('#', fd_ExistFile(nil)), fd_ExistFile() == nil)"),
          {"data.bin", "x"}},
         run, session(fc, {"1\t0\t0\n1\t1\t0\n0\t0\ttrue\n"})},
        {"DelFile", fc,
         {script("print(fd_DelFile('gone.txt'), fd_DelFile('gone.txt'), fd_DelFile('never.txt'))"),
          {"gone.txt", "x"}},
         run, session(fc, {"1\t0\t0\n"}), std::nullopt, {{"gone.txt", std::nullopt}}},
        {"NesHeaders", fc,
         {script("print(fd_GetNesHead(0, 0, 0, 1, 0, 32, 8))\nprint(fd_GetNesHead(4, 0, 1, 0, 0, 256, 256))\n"
                 "print(fd_GetNesHead(18, 1, 0, 0, 1, 24, -8))\nprint(fd_GetNesHead(256, 0, 0, 0, 0, 0, 0))\n"
                 "print(fd_GetNesHead(0x1FF, 7, -1, 2, 9, 4095, 2047))")},
         run,
         session(fc, {"4E45531A020101000000000000000000\n4E45531A102042000000000000000000\n"
                      "4E45531A01FF28110000000000000000\n4E45531A000000000000000000000000\n"
                      "4E45531AFFFFFBF10000000000000000\n"})},
        {"NesHeaderNeedsSevenNumbers", fc, {script("fd_GetNesHead(1, 2, 3, 4, 5, 6)")}, run,
         session(fc, {argument_error("t.lua", 1, 7, "fd_GetNesHead", "number expected, got no value")})},
        {"CmdPrintf", fc,
         {script("fd_CmdPrintf('100%% sure')\nfd_CmdPrintf('|plain|')\nfd_CmdPrintf('%d %s %5.2f %n %')\n"
                 "fd_CmdPrintf('%%%')\nfd_CmdPrintf('a\\0b')\nprint(select('#', fd_CmdPrintf('')))")},
         run, session(fc, {"100% sure|plain|%d %s %5.2f %n %%%a0\n"})},
        {"CmdPrintfNeedsAText", fc, {script("fd_CmdPrintf()")}, run,
         session(fc, {argument_error("t.lua", 1, 1, "fd_CmdPrintf", "string expected, got no value")})},
        {"ClockAndSleep", fc,
         {script("local t0 = fd_GetTime()\nfd_Sleep(60)\nlocal d = fd_GetTime() - t0\n"
                 "print(d >= 60 and d < 5000, t0 == math.floor(t0))\n"
                 "local t1 = fd_GetTime()\nfd_Sleep(-1000)\nfd_Sleep(0)\nfd_Sleep(-2^31)\n"
                 "print(fd_GetTime() - t1 < 1000, select('#', fd_Sleep(1)))")},
         run, session(fc, {"true\ttrue\ntrue\t0\n"})},
        {"SleepNeedsANumber", fc, {script("fd_Sleep()")}, run,
         session(fc, {argument_error("t.lua", 1, 1, "fd_Sleep", "number expected, got no value")})},
        {"BitOperations", fc,
         {script("print(fd_ROL(1, 31), fd_ROL(1, 32), fd_ROL(3, 33), fd_ROL(-1, 4))\n"
                 "print(fd_ROR(-8, 1), fd_ROR(-1, 31), fd_ROR(256, 36), fd_ROR(2^31 - 1, 30))\n"
                 "print(fd_AND(12, 10), fd_OR(12, 10), fd_XOR(12, 10), fd_XOR(-1, 5), fd_OR(-2, 1))\n"
                 "print(fd_AND(2.5, -1), fd_AND(3.5, -1), fd_AND(-2.5, -1), fd_AND(2^31, -1),\n"
                 "  fd_AND(-2^31, -1), fd_AND(0/0, -1), fd_AND(2^32 + 5, -1))")},
         run,
         session(fc, {"-2147483648\t1\t6\t-16\n-4\t-1\t16\t1\n8\t14\t6\t-6\t-1\n"
                      "2\t4\t-2\t-2147483648\t-2147483648\t-2147483648\t-2147483648\n"})},
        {"BitOperationsNeedTwoNumbers", fc,
         {{"a.lua", "fd_XOR(1)"}, {"b.lua", "fd_ROL('a', 1)"}, {"c.lua", "fd_AND()"}},
         "do a.lua\ndo b.lua\ndo c.lua\n",
         session(fc, {argument_error("a.lua", 1, 2, "fd_XOR", "number expected, got no value"),
                      argument_error("b.lua", 1, 1, "fd_ROL", "number expected, got string"),
                      argument_error("c.lua", 1, 1, "fd_AND", "number expected, got no value")})},
    };
}

class HostFunctions : public ::testing::TestWithParam<RunnerCase> {};

TEST_P(HostFunctions, MatchByteForByte) { run_script_case(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Scripts, HostFunctions, ::testing::ValuesIn(on_every_runner(host_cases())),
                         [](const ::testing::TestParamInfo<RunnerCase>& info) {
                             return runner_case_name(info.param);
                         });

}  // namespace
