// What only the Windows program shows: the script engine's own Windows
// configuration, and host files that another opener holds.

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

#include "caldrin_runner.h"
#include "files.h"
#include "temp_dir.h"

namespace {

std::shared_ptr<CaldrinRunner> wine_runner() {
    std::vector<std::shared_ptr<CaldrinRunner>> runners;
    add_windows_runners(runners);
    return runners.empty() ? nullptr : runners.front();
}

// Runs one script with no dumper drive and returns what it printed between
// the prompt of the "do" and the next one.
std::string run_script(const std::string& text) {
    const auto runner = wine_runner();
    if (!runner) {
        ADD_FAILURE() << "no Wine runner";
        return "";
    }
    TempDir work;
    write_file(work.file("t.lua"), text);
    write_file(work.file("held.bin"), "abc");
    const ProgramResult result = runner->run({}, "do t.lua\n", work.path());
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::string start = without_build_date(kHelpText) + "-";
    const std::string out = without_build_date(runner->normalise(result.out));
    if (out.size() <= start.size() || out.compare(0, start.size(), start) != 0 || out.back() != '-') {
        ADD_FAILURE() << "unexpected session: " << out;
        return "";
    }
    return out.substr(start.size(), out.size() - start.size() - 1);
}

// The folder of the Windows program as Wine shows it: drive Z: is the host's
// root.
std::string program_folder() {
    char path[PATH_MAX];
    if (::realpath(CALDRIN_WINDOWS_PROGRAM, path) == nullptr) return "";
    std::string folder = path;
    folder.erase(folder.find_last_of('/'));
    for (char& c : folder)
        if (c == '/') c = '\\';
    return "Z:" + folder;
}

TEST(WindowsProgram, ScriptsSeeTheEnginesWindowsConfiguration) {
    const std::string dir = program_folder();
    EXPECT_EQ(run_script("print(_VERSION) print(fd_GetPath()) print(package.path) print(package.cpath)"),
              "Lua 5.1\n" + dir + "\n" +
                  ".\\?.lua;" + dir + "\\lua\\?.lua;" + dir + "\\lua\\?\\init.lua;" + dir + "\\?.lua;" +
                  dir + "\\?\\init.lua\n" +
                  ".\\?.dll;" + dir + "\\?.dll;" + dir + "\\loadall.dll\n");
}

TEST(WindowsProgram, HostFilesHeldByAnotherOpenerAreRefused) {
    // The io library opens files shared; the script functions open them
    // exclusively, so they are refused while the io library holds them.
    EXPECT_EQ(run_script("local f = io.open('held.bin', 'rb')\n"
                         "print(fd_ReadFile('held.bin', 0, 3))\n"
                         "print(fd_WriteFile('held.bin', 'x', 0))\n"
                         "f:close()\n"
                         "print(fd_ReadFile('held.bin', 0, 3))\n"
                         "print(fd_WriteFile('held.bin', 'de', 0))\n"
                         "print(fd_ReadFile('held.bin', 0, 8))\n"),
              "-1\t\n-1\n6\t616263\n2\n10\t6162636465\n");
}

}  // namespace
