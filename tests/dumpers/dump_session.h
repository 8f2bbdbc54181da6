#pragma once
// The dump scripts run as a user runs them: a cartridge image mounted in the
// device emulator, the program started with its drive, a script copied into
// the working folder and started with "do", its question answered on
// standard input.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "caldrin_runner.h"
#include "devsim_mount.h"

#define REQUIRE_FUSE() REQUIRE_FUSE_FOR("DUMP TEST")

// The program this build made for Linux alone, and every program it made.
std::shared_ptr<CaldrinRunner> linux_program();
std::vector<std::shared_ptr<CaldrinRunner>> every_program();

// Copies the built scripts (the copies placed beside the program) into the
// mount's working folder.
void copy_scripts(const devsim_test::DevsimMount& mount);

// One program run on the mount: console lines in, standard output out.
std::string run_session(CaldrinRunner& runner, const devsim_test::DevsimMount& mount, const std::string& input);

// "do SCRIPT" and its one answer, as console input.
std::string dump_command(const std::string& script, const std::string& answer);

// A file in the mount's working folder, or nullopt when there is none.
std::optional<std::vector<uint8_t>> work_file(const devsim_test::DevsimMount& mount, const std::string& name);

// The value of the last report line with that label (at the start of a line,
// or after the progress line it replaces), the label followed by
// at least two blanks ("ROM CRC-32  1A2B3C4D ..." gives "1A2B3C4D ..."); empty
// when there is none.
std::string report_value(const std::string& out, const std::string& label);

// The text with each run of blanks made one blank.
std::string words(const std::string& text);

// Eight upper-case digits of the CRC-32 of bytes.
std::string crc_text(const std::vector<uint8_t>& bytes, size_t from = 0, size_t count = SIZE_MAX);
