#pragma once
// One 512-byte command sector as the device firmware checks and decodes it:
// byte 0 'Z', byte 1 the family, byte 2 the command, the CRC-16/XMODEM of
// bytes 0-509 in bytes 510-511, high byte first.

#include <cstdint>
#include <string>

#include "model/cartridge_model.h"

namespace devsim {

constexpr uint32_t kSectorSize = 512;

enum class SectorVerdict {
    ok,
    no_z,             // byte 0 is not 'Z'
    bad_crc,          // bytes 510-511 disagree with bytes 0-509
    wrong_family,     // a command for the other device model
    unknown_command,  // a command byte this model does not know
    bad_count,        // a memory write of 0 bytes, or more than the sector holds
};

enum class CommandKind { init, memory_write };

struct Command {
    CommandKind kind = CommandKind::init;
    uint8_t argument = 0;          // init
    uint32_t address = 0;          // memory write: 16 bits (Famicom) or 24 bits (PC Engine)
    const uint8_t* data = nullptr;  // memory write: count bytes inside the sector
    uint32_t count = 0;
};

struct SectorCheck {
    SectorVerdict verdict = SectorVerdict::ok;
    Command command;
    // For the log, what was found.
    uint16_t stored_crc = 0;
    uint16_t computed_crc = 0;
};

// Checks one sector for a device of the family and decodes its command.
//   Famicom init:          byte 1 0x0E, byte 2 0x01, byte 4 the argument
//   Famicom memory write:  byte 1 0x0E, byte 2 0x05, bytes 4-5 the address
//                          (little-endian), bytes 8-9 the byte count
//                          (little-endian; the host sends 1), data from byte 12
//   PC Engine init:        byte 1 0x11, byte 2 0x01
//   PC Engine memory write: byte 1 0x11, byte 2 0x02, bytes 3-5 the address
//                          (little-endian), byte 6 the data byte
SectorCheck check_sector(const uint8_t* sector, Family family);

// The verdict and command as one short log text, e.g. "ok write 8000 5A" or
// "dropped: bad CRC (sector says 1234, bytes give 5678)".
std::string describe_sector(const SectorCheck& check, const uint8_t* sector);

}  // namespace devsim
