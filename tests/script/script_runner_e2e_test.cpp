// "do" as a user meets it: load and run failures, what a run leaves behind,
// the engine's configuration and the order of output.

#include <gtest/gtest.h>

#include "device_drive.h"
#include "script_session.h"

namespace {

HostFile script(const std::string& name, const std::string& text) { return {name, text}; }

const char kFunctionList[] =
    "fd_AND fd_CheckMirror fd_CheckSRAM fd_CheckVROM fd_CmdPrintf fd_CpuReadAscii fd_CpuReadInt "
    "fd_CpuWriteAscii fd_CpuWriteInt fd_DelFile fd_ExistFile fd_GetNesHead fd_GetPath fd_GetTime "
    "fd_OR fd_PpuReadAscii fd_PpuReadInt fd_PpuWriteAscii fd_PpuWriteInt fd_ROL fd_ROR fd_ReadFile "
    "fd_SetCpuMode fd_Sleep fd_VerInfo fd_WriteDir fd_WriteFile fd_XOR";

std::vector<ScriptCase> runner_cases() {
    const Cartridge fc = Cartridge::famicom;
    return {
        {"MissingFile", fc, {}, "do nofile.lua\n",
         session(fc, {script_error("cannot open nofile.lua: No such file or directory")})},
        {"SyntaxError", fc, {script("t.lua", "local x = 1\nx = = 2\n")}, "do t.lua\n",
         session(fc, {script_error("t.lua:2: unexpected symbol near '='")})},
        {"ErrorValues", fc,
         {script("a.lua", "error({})"), script("b.lua", "\nerror('boom')"), script("c.lua", "error(42)"),
          script("d.lua", "error('plain', 0)"), script("e.lua", "error()")},
         "do a.lua\ndo b.lua\ndo c.lua\ndo d.lua\ndo e.lua\n",
         session(fc, {script_error("(null)"), script_error("b.lua:2: boom"), script_error("c.lua:1: 42"),
                      script_error("plain"), script_error("(null)")})},
        {"FileNameIsTakenLowerCased", fc, {script("up.lua", "print('ran')")}, "DO UP.LUA\n",
         session(fc, {"ran\n"})},
        {"ReturnedValuesAreIgnored", fc, {script("t.lua", "return 1, 'x', nil")}, "do t.lua\n",
         session(fc, {""})},
        {"GlobalsDoNotOutliveARun", fc,
         {script("a.lua", "counter = (counter or 0) + 1\nprint(counter)\nfd_AND = nil\n"
                          "package.loaded.mine = true\n"),
          script("b.lua", "print(fd_AND(12, 10), package.loaded.mine)")},
         "do a.lua\ndo a.lua\ndo b.lua\n", session(fc, {"1\n", "1\n", "8\tnil\n"})},
        {"OutputKeepsCallOrder", fc,
         {script("t.lua", "print('one')\nfd_CmdPrintf('two ')\nio.write('three ')\n"
                          "fd_CmdPrintf('four\\n')\nprint('five')\nfd_CmdPrintf('six')")},
         "do t.lua\n", session(fc, {"one\ntwo three four\nfive\nsix"})},
        {"AnErrorKeepsWhatWasDone", fc,
         {script("t.lua", "fd_WriteFile('out.txt', 'done', 0)\nfd_CpuWriteInt(0x8000, 0x12)\n"
                          "print('before')\nfd_DelFile()\nprint('after')\n")},
         "do t.lua\n",
         session(fc, {"before\n" + argument_error("t.lua", 4, 1, "fd_DelFile", "string expected, got no value")}),
         famicom_write_sector(0x8000, 0x12), {{"out.txt", std::string("done")}}},
        {"ScriptReadsStandardInput", fc, {script("t.lua", "print('got ' .. io.read('*l'))")},
         "do t.lua\nhello there\nd 0 2\n", session(fc, {"got hello there\n", "0000: 00 07 \n"})},
        {"StandardLibraries", fc,
         {script("t.lua", "print(_VERSION, type(io.open), type(os.time), type(string.format),\n"
                          "  type(math.floor), type(table.concat), type(debug.traceback),\n"
                          "  type(package.loaders), type(coroutine.wrap), type(require))")},
         "do t.lua\n",
         session(fc, {"Lua 5.1\tfunction\tfunction\tfunction\tfunction\tfunction\tfunction\ttable\t"
                      "function\tfunction\n"})},
        {"TheTwentyEightFunctions", fc,
         {script("t.lua",
                 "local names = {}\n"
                 "for k, v in pairs(_G) do\n"
                 "  if k:sub(1, 3) == 'fd_' and type(v) == 'function' then names[#names + 1] = k end\n"
                 "end\n"
                 "table.sort(names)\n"
                 "print(#names, table.concat(names, ' '))\n")},
         "do t.lua\n", session(fc, {"28\t" + std::string(kFunctionList) + "\n"})},
        {"NumbersAndStringsConvert", fc,
         {script("t.lua", "fd_CmdPrintf(1/3)\nfd_CmdPrintf(' ')\nfd_CmdPrintf(2^31)\n"
                          "print('', fd_AND('0x0F', ' 12 '), fd_CpuReadInt('1'))")},
         "do t.lua\n", session(fc, {"0.33333333333333 2147483648\t12\t7\n"})},
        {"ModuleFromTheCurrentFolder", fc,
         {script("mine.lua", "return { answer = 42 }"),
          script("t.lua", "print(require('mine').answer)")},
         "do t.lua\n", session(fc, {"42\n"})},
    };
}

class ScriptRunner : public ::testing::TestWithParam<RunnerCase> {};

TEST_P(ScriptRunner, MatchesByteForByte) { run_script_case(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Do, ScriptRunner, ::testing::ValuesIn(on_every_runner(runner_cases())),
                         [](const ::testing::TestParamInfo<RunnerCase>& info) {
                             return runner_case_name(info.param);
                         });

}  // namespace
