#include "caldrin_runner.h"

#include <cstdlib>

namespace {

class LinuxRunner : public CaldrinRunner {
public:
    explicit LinuxRunner(std::string program) : program_(std::move(program)) {}
    std::string name() const override { return "linux"; }
    ProgramResult run(const std::vector<DriveFolder>& drives, const std::string& input,
                      const std::string& cwd) override {
        std::string map;
        for (const DriveFolder& d : drives) {
            if (!map.empty()) map += ';';
            map += d.letter;
            if (d.type != "removable") map += ":" + d.type;
            map += "=" + d.path;
        }
        return run_program({program_}, input, {{"CALDRIN_DRIVES", map}, {"LC_ALL", "C"}}, {}, cwd);
    }

private:
    std::string program_;
};

}  // namespace

std::unique_ptr<CaldrinRunner> make_linux_runner(const std::string& program) {
    return std::make_unique<LinuxRunner>(program);
}

std::string without_build_date(const std::string& out) {
    static const std::string marker = "(build:";
    std::string result = out;
    for (size_t at = result.find(marker); at != std::string::npos; at = result.find(marker, at + 1)) {
        const size_t start = at + marker.size();
        const size_t end = result.find(')', start);
        if (end != std::string::npos) result.replace(start, end - start, "DATE");
    }
    return result;
}

const char kHelpText[] =
    "Caldrin dump cmd client for Windows by olvane(build:DATE)\n"
    "Command:\n"
    "[H|h|?]               Show this help infomation\n"
    "w address value       Write data to cartridge\n"
    "w address length file Write data to cartridge from file\n"
    "d                     Dump data and show on screen\n"
    "d address             Dump data and show on screen\n"
    "d address length file Dump data to file\n"
    "a                     Disassembler data from reset\n"
    "a address             Disassembler data from address\n"
    "do filename           Execute lua script\n"
    "init [driver]         Set dump mode\n"
    "list                  List inserted dump devices\n"
    "q                     Exit this program\n"
    "\n";
