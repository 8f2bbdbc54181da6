#pragma once
// Sessions for the fault runs: the program on a mounted emulator, and the
// memory the emulated cartridge shows, to tell a true save from a false one.

#include <cstdint>
#include <future>
#include <string>
#include <vector>

#include "devsim_mount.h"
#include "dump_session.h"
#include "run_program.h"

namespace faults {

// The cartridge of most runs: NROM, 32 KiB of PRG ROM, 8 KiB of CHR ROM.
std::vector<uint8_t> nrom_image();

// The 64 KiB memory image that cartridge shows: CHR at 0x0000, open bus up
// to 0x7FFF, PRG from 0x8000.
std::vector<uint8_t> nrom_memory();

// The same slice as a save would hold it.
std::vector<uint8_t> memory_slice(uint32_t address, uint32_t length);

// The program's output after its start-up line and help text: what the
// commands printed.
std::string command_output(const std::string& out);

// One program run on the mount, with the whole result kept.
ProgramResult run_on(const devsim_test::DevsimMount& mount, const std::string& input);

// The same, started in the background so that the test can act on the
// device while the program works.
std::future<ProgramResult> start_on(const devsim_test::DevsimMount& mount, const std::string& input);

// The lines of a text file (empty when there is none).
std::vector<std::string> file_lines(const std::string& path);

// A file of the mount's working folder as text, or "(none)" when missing.
std::string work_text(const devsim_test::DevsimMount& mount, const std::string& name);

}  // namespace faults
