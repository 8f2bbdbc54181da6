#pragma once
// Scripts run through "do" by each built program, on dumper drives made of
// temporary folders, with standard output, the command file and host files
// compared byte for byte.

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "caldrin_runner.h"
#include "session_checks.h"

constexpr uint32_t kImageSize = 0x11000;

enum class Cartridge {
    none,        // no dumper drive: the slots hold the not-initialised stub
    famicom,     // the pattern image, which keeps nothing written to it
    famicom_ram, // the pattern image, holding the RAM test pattern at 0 and 0x6000
    pc_engine,
};

struct ScriptCase {
    const char* name;
    Cartridge cartridge;
    std::vector<HostFile> files_before;  // scripts and data, in the working folder
    std::string input;                   // console lines
    std::string expected_output;         // the whole of standard output
    std::optional<std::string> command_file = std::nullopt;  // nullopt: not checked
    std::vector<HostFile> files_after = {};
};

// Standard output of a session: the start-up line for the cartridge, the
// help text, then each command's output after its prompt, then the prompt
// that the end of the input answers.
std::string session(Cartridge cartridge, const std::vector<std::string>& outputs);

// The script error message as the console shows it in the C locale.
std::string script_error(const std::string& text);
// The engine's argument error raised at a script's line.
std::string argument_error(const std::string& script, int line, int argument,
                           const std::string& function, const std::string& detail);

// The memory image the cartridges hold.
std::string cartridge_image(Cartridge cartridge);
uint8_t image_byte(uint32_t address);

// What print shows for a block read of the pattern image: the signed CRC-32,
// a tab and the upper-case hex text of the bytes the image holds there.
std::string block_read_line(uint32_t address, uint32_t length);
// A 16-byte block of the pattern image whose CRC-32 has its top bit set.
uint32_t negative_crc_address();


// The sectors a write of data from address sends to a Famicom device.
std::string famicom_sectors(uint32_t address, const std::string& data);

extern const std::string kRamTestPattern;

// One case on one program.
struct RunnerCase {
    std::shared_ptr<CaldrinRunner> runner;
    ScriptCase script;
};

std::vector<RunnerCase> on_every_runner(const std::vector<ScriptCase>& cases);
std::string runner_case_name(const RunnerCase& c);
void PrintTo(const RunnerCase& c, std::ostream* out);

// Runs the case and checks output, command file and host files.
void run_script_case(const RunnerCase& c);
