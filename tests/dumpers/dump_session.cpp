#include "dump_session.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "crc32.h"
#include "files.h"
#include "test_images.h"

namespace {

std::string program_folder() {
    const std::string program = CALDRIN_PROGRAM;
    return program.substr(0, program.rfind('/'));
}

}  // namespace

std::shared_ptr<CaldrinRunner> linux_program() {
    return available_runners().front();  // the Linux program comes first
}

std::vector<std::shared_ptr<CaldrinRunner>> every_program() { return available_runners(); }

void copy_scripts(const devsim_test::DevsimMount& mount) {
    for (const char* script : {"nes.lua", "pce.lua", "sram.lua"})
        write_file(mount.work() + "/" + script, read_file(program_folder() + "/dumpers/" + script));
}

std::string run_session(CaldrinRunner& runner, const devsim_test::DevsimMount& mount, const std::string& input) {
    const ProgramResult r = runner.run({{'E', mount.mountpoint()}}, input, mount.work());
    EXPECT_FALSE(r.timed_out) << runner.name() << ": the program did not finish";
    EXPECT_EQ(r.status, 0) << runner.name() << ": " << r.err;
    // Scripts that cannot load their modules end with the script error
    // message; say so plainly instead of leaving a missing file to explain it.
    EXPECT_EQ(r.out.find("module 'dump_"), std::string::npos) << runner.name() << ":\n" << r.out;
    return runner.normalise(r.out);
}

std::string dump_command(const std::string& script, const std::string& answer) {
    return "do " + script + "\n" + answer + "\n";
}

std::optional<std::vector<uint8_t>> work_file(const devsim_test::DevsimMount& mount, const std::string& name) {
    const std::string path = mount.work() + "/" + name;
    if (!file_exists(path)) return std::nullopt;
    return devsim_test::read_bytes(path);
}

std::string report_value(const std::string& out, const std::string& label) {
    // The report comes last; the question before it may start with the same word.
    std::string found;
    for (size_t at = out.find(label); at != std::string::npos; at = out.find(label, at + 1)) {
        if (at != 0 && out[at - 1] != '\n' && out[at - 1] != '\r') continue;
        size_t value = at + label.size();
        if (value + 1 >= out.size() || out[value] != ' ' || out[value + 1] != ' ') continue;
        while (value < out.size() && out[value] == ' ') ++value;
        found = out.substr(value, out.find('\n', value) - value);
    }
    return found;
}

std::string crc_text(const std::vector<uint8_t>& bytes, size_t from, size_t count) {
    if (count > bytes.size() - from) count = bytes.size() - from;
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(crc32(bytes.data() + from, count)));
    return text;
}

std::string words(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c == ' ' && (result.empty() || result.back() == ' ')) continue;
        result += c;
    }
    while (!result.empty() && result.back() == ' ') result.pop_back();
    return result;
}
