#include "model/famicom/ines_image.h"

#include <cstring>

namespace devsim {

namespace {

constexpr size_t kHeaderSize = 16;
constexpr size_t kTrainerSize = 512;
constexpr uint64_t kPrgUnit = 16 * 1024;
constexpr uint64_t kChrUnit = 8 * 1024;

}  // namespace

std::string parse_ines(const std::vector<uint8_t>& file, InesImage& image) {
    if (file.size() < kHeaderSize) return "too short for an iNES header (" + std::to_string(file.size()) + " bytes)";
    if (std::memcmp(file.data(), "NES\x1A", 4) != 0) return "not an iNES image (no \"NES\\x1A\" at its start)";

    const uint8_t* h = file.data();
    image = InesImage{};
    image.nes2 = (h[7] & 0x0C) == 0x08;
    image.battery = (h[6] & 0x02) != 0;
    const bool trainer = (h[6] & 0x04) != 0;

    uint64_t prg_units = h[4];
    uint64_t chr_units = h[5];
    if (image.nes2) {
        if ((h[9] & 0x0F) == 0x0F || (h[9] & 0xF0) == 0xF0)
            return "NES 2.0 exponent-multiplier ROM sizes are not supported";
        prg_units |= static_cast<uint64_t>(h[9] & 0x0F) << 8;
        chr_units |= static_cast<uint64_t>(h[9] >> 4) << 8;
        image.mapper = static_cast<uint16_t>((h[6] >> 4) | (h[7] & 0xF0) | ((h[8] & 0x0F) << 8));
    } else {
        // Old dumping tools left text in bytes 7 to 15; their byte 7 is then
        // no part of the mapper number.
        const bool dirty_tail = h[12] != 0 || h[13] != 0 || h[14] != 0 || h[15] != 0;
        image.mapper = static_cast<uint16_t>((h[6] >> 4) | (dirty_tail ? 0 : (h[7] & 0xF0)));
    }
    if (prg_units == 0) return "the header gives no PRG ROM";

    const uint64_t prg_size = prg_units * kPrgUnit;
    const uint64_t chr_size = chr_units * kChrUnit;
    const uint64_t need = kHeaderSize + (trainer ? kTrainerSize : 0) + prg_size + chr_size;
    if (file.size() < need)
        return "truncated: the header asks for " + std::to_string(need) + " bytes, the file has " +
               std::to_string(file.size());

    const uint8_t* p = h + kHeaderSize + (trainer ? kTrainerSize : 0);
    image.prg_rom.assign(p, p + prg_size);
    image.chr_rom.assign(p + prg_size, p + prg_size + chr_size);
    return {};
}

}  // namespace devsim
