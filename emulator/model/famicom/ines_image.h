#pragma once
// The iNES file: a 16-byte header, an optional 512-byte trainer, PRG ROM,
// then CHR ROM. NES 2.0 headers are read for the larger mapper numbers and
// sizes they carry.

#include <cstdint>
#include <string>
#include <vector>

namespace devsim {

struct InesImage {
    uint16_t mapper = 0;
    bool battery = false;  // the header's battery bit: PRG RAM at 0x6000
    bool nes2 = false;
    std::vector<uint8_t> prg_rom;
    std::vector<uint8_t> chr_rom;  // empty: the board has CHR RAM instead
};

// Parses the bytes of an iNES file. Returns an empty text on success, else
// why the bytes are not a usable image (one line, no trailing period).
std::string parse_ines(const std::vector<uint8_t>& file, InesImage& image);

}  // namespace devsim
