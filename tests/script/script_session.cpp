#include "script_session.h"

#include <gtest/gtest.h>

#include "device_drive.h"
#include "files.h"
#include "temp_dir.h"

const std::string kRamTestPattern = bytes({0x03, 0x05, 0x07, 0x09, 0x00, 0x01, 0x08, 0x02, 0x03, 0x04});

namespace {

// "执行脚本出错：" in GBK.
const std::string kScriptErrorGbk = "\xD6\xB4\xD0\xD0\xBD\xC5\xB1\xBE\xB3\xF6\xB4\xED\xA3\xBA";

}  // namespace

std::string session(Cartridge cartridge, const std::vector<std::string>& outputs) {
    std::string start;
    if (cartridge == Cartridge::pc_engine) start = kPcEngineInit;
    else if (cartridge != Cartridge::none) start = kFamicomInit;
    return session_output(start, outputs);
}

std::string script_error(const std::string& text) { return kScriptErrorGbk + "\r\n" + text + "\r\n"; }

std::string argument_error(const std::string& script, int line, int argument,
                           const std::string& function, const std::string& detail) {
    return script_error(script + ":" + std::to_string(line) + ": bad argument #" +
                        std::to_string(argument) + " to '" + function + "' (" + detail + ")");
}

std::string cartridge_image(Cartridge cartridge) {
    std::string image = pattern_image(kImageSize);
    if (cartridge == Cartridge::famicom_ram) {
        image.replace(0x0000, kRamTestPattern.size(), kRamTestPattern);
        image.replace(0x6000, kRamTestPattern.size(), kRamTestPattern);
    }
    return image;
}

uint8_t image_byte(uint32_t address) {
    return static_cast<uint8_t>(pattern_image(address + 1)[address]);
}


std::string block_read_line(uint32_t address, uint32_t length) {
    const std::string image = pattern_image(kImageSize);
    const std::string data = address < image.size() ? image.substr(address, length) : std::string();
    return std::to_string(static_cast<int32_t>(crc32_bitwise(data))) + "\t" + upper_hex(data) + "\n";
}

uint32_t negative_crc_address() {
    const std::string image = pattern_image(kImageSize);
    for (uint32_t address = 0x8000;; address += 16)
        if (crc32_bitwise(image.substr(address, 16)) & 0x80000000u) return address;
}

std::string famicom_sectors(uint32_t address, const std::string& data) {
    std::string out;
    for (size_t i = 0; i < data.size(); ++i)
        out += famicom_write_sector(address + static_cast<uint32_t>(i), static_cast<uint8_t>(data[i]));
    return out;
}

std::vector<RunnerCase> on_every_runner(const std::vector<ScriptCase>& cases) {
    std::vector<RunnerCase> all;
    for (const auto& runner : available_runners())
        for (const ScriptCase& c : cases) all.push_back({runner, c});
    return all;
}

std::string runner_case_name(const RunnerCase& c) { return c.runner->name() + "_" + c.script.name; }

void PrintTo(const RunnerCase& c, std::ostream* out) { *out << runner_case_name(c); }

void run_script_case(const RunnerCase& rc) {
    const ScriptCase& c = rc.script;
    TempDir work;
    TempDir drive;
    std::vector<DriveFolder> drives;
    if (c.cartridge != Cartridge::none) {
        write_identification(drive.path(),
                             c.cartridge == Cartridge::pc_engine ? kPcEngineRecord : kFamicomRecord);
        write_file(drive.file("DUMP.ROM"), cartridge_image(c.cartridge));
        drives.push_back({'E', drive.path()});
    }
    for (const HostFile& f : c.files_before) write_file(work.file(f.name), *f.content);

    const ProgramResult result = rc.runner->run(drives, c.input, work.path());
    expect_session(*rc.runner, result, c.expected_output, drive.file("CMD.CMD"), c.command_file,
                   work.path(), c.files_after);
}
