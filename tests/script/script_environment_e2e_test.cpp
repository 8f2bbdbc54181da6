// What the Linux program takes from its environment for scripts: the
// locale's character set for the two Chinese texts, LUA_PATH and LUA_CPATH
// for module search, and its own folder.

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <map>
#include <string>

#include "build_info.h"
#include "files.h"
#include "run_program.h"
#include "script_session.h"
#include "temp_dir.h"

namespace {

const std::string kErrorUtf8 = u8"执行脚本出错：";
const std::string kErrorGbk = "\xD6\xB4\xD0\xD0\xBD\xC5\xB1\xBE\xB3\xF6\xB4\xED\xA3\xBA";

// Runs one script with no dumper drive and returns what it printed.
std::string run_script_with(const std::string& text, const std::map<std::string, std::string>& env,
                            const std::vector<std::string>& unset = {}) {
    TempDir work;
    write_file(work.file("t.lua"), text);
    std::map<std::string, std::string> all = env;
    all["CALDRIN_DRIVES"] = "";
    const ProgramResult result = run_program({CALDRIN_PROGRAM}, "do t.lua\n", all, unset, work.path());
    EXPECT_EQ(result.status, 0);
    const std::string start = without_build_date(kHelpText) + "-";
    const std::string out = without_build_date(result.out);
    EXPECT_EQ(out.substr(0, start.size()), start);
    EXPECT_EQ(out.substr(out.size() - 1), "-");
    return out.size() > start.size() ? out.substr(start.size(), out.size() - start.size() - 1) : "";
}

std::string program_folder() {
    char path[PATH_MAX];
    if (::realpath(CALDRIN_PROGRAM, path) == nullptr) return "";
    const std::string full = path;
    return full.substr(0, full.find_last_of('/'));
}

const char kNoArgument[] = "t.lua:1: bad argument #1 to 'fd_DelFile' (string expected, got no value)";

struct LocaleCase {
    const char* name;
    std::map<std::string, std::string> env;
    std::vector<std::string> unset;
    bool utf8;
};

TEST(ScriptLocale, ChineseTextsFollowTheLocaleCharacterSet) {
    const LocaleCase cases[] = {
        {"C", {{"LC_ALL", "C"}}, {}, false},
        {"POSIX", {{"LC_ALL", "POSIX"}}, {}, false},
        {"C.UTF-8", {{"LC_ALL", "C.UTF-8"}}, {}, true},
        {"LANG alone", {{"LANG", "C.UTF-8"}}, {"LC_ALL", "LC_CTYPE"}, true},
        {"LC_CTYPE over LANG", {{"LANG", "C", }, {"LC_CTYPE", "C.UTF-8"}}, {"LC_ALL"}, true},
    };
    for (const LocaleCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string prefix = c.utf8 ? kErrorUtf8 : kErrorGbk;
        EXPECT_EQ(run_script_with("fd_DelFile()", c.env, c.unset),
                  prefix + "\r\n" + kNoArgument + "\r\n");
        const std::string version =
            c.utf8 ? u8"By olvane \n欢迎使用(V1.3)\r\n插件编译时间(" + std::string(build_timestamp()) + ")\r\n"
                   : "By olvane \n\xBB\xB6\xD3\xAD\xCA\xB9\xD3\xC3(V1.3)\r\n"
                     "\xB2\xE5\xBC\xFE\xB1\xE0\xD2\xEB\xCA\xB1\xBC\xE4(" +
                         std::string(build_timestamp()) + ")\r\n";
        EXPECT_EQ(run_script_with("fd_VerInfo() print(select('#', fd_VerInfo()) == 0)", c.env, c.unset),
                  version + version + "true\n");
    }
}

TEST(ScriptLocale, NumbersKeepTheirFormInAUtf8Locale) {
    EXPECT_EQ(run_script_with("print(1.5, 1e100, tostring(0.1)) fd_CmdPrintf(2.25)", {{"LC_ALL", "C.UTF-8"}}),
              "1.5\t1e+100\t0.1\n2.25");
}

TEST(ScriptHost, GetPathIsTheProgramFolder) {
    EXPECT_EQ(run_script_with("print(fd_GetPath())", {}), program_folder() + "\n");
}

TEST(ScriptModuleSearch, DefaultsLookBesideTheProgram) {
    const std::string dir = program_folder();
    EXPECT_EQ(run_script_with("print(package.path) print(package.cpath)", {}, {"LUA_PATH", "LUA_CPATH"}),
              "./?.lua;" + dir + "/lua/?.lua;" + dir + "/lua/?/init.lua;" + dir + "/?.lua;" + dir +
                  "/?/init.lua\n./?.so;" + dir + "/?.so;" + dir + "/loadall.so\n");
}

TEST(ScriptModuleSearch, EnvironmentReplacesTheDefaults) {
    TempDir modules;
    write_file(modules.file("far.lua"), "return 'far away'");
    const std::string dir = program_folder();
    EXPECT_EQ(run_script_with("print(require('far')) print(package.path) print(package.cpath)",
                              {{"LUA_PATH", modules.path() + "/?.lua;;!/x/?.lua"},
                               {"LUA_CPATH", "/opt/?.so"}}),
              "far away\n" + modules.path() + "/?.lua;./?.lua;" + dir + "/lua/?.lua;" + dir +
                  "/lua/?/init.lua;" + dir + "/?.lua;" + dir + "/?/init.lua;" + dir + "/x/?.lua\n" +
                  "/opt/?.so\n");
}

}  // namespace
