#pragma once
// The PC-Engine-family device's view of a HuCard: the card's 1 MiB address
// space 0x00000-0xFFFFF, write addresses of 24 bits.
//   256, 512, 1024 KiB (and smaller powers of two): repeated through the space
//   384 KiB: its first 256 KiB at 0x00000 (again at 0x40000), its last
//            128 KiB at 0x80000 (repeated to the end)
//   768 KiB: flat from 0x00000 to 0xBFFFF; open bus above
//   2560 KiB (the Street Fighter II mapper): the first 512 KiB fixed at
//            0x00000, one of four 512 KiB banks at 0x80000, chosen by a write
//            to 0x1FF0-0x1FF3 (bank = address - 0x1FF0)

#include <memory>
#include <string>
#include <vector>

#include "model/cartridge_model.h"

namespace devsim {

constexpr uint32_t kHuCardSpace = 0x100000;

enum class HuCardLayout { repeat, split_384k, flat_768k, sf2 };

class HuCard : public CartridgeModel {
public:
    HuCard(std::vector<uint8_t> rom, HuCardLayout layout);

    Family family() const override { return Family::pc_engine; }
    uint32_t address_space_size() const override { return kHuCardSpace; }
    void read(uint32_t address, uint8_t* out, uint32_t count) const override;
    void write(uint32_t address, uint8_t value) override;
    void power_on(uint8_t argument) override;
    std::string describe() const override;

    HuCardLayout layout() const { return layout_; }

private:
    // Offset into the ROM of a card address, or -1 for open bus. The answer
    // holds across aligned 8 KiB windows.
    int64_t rom_offset(uint32_t address) const;

    std::vector<uint8_t> rom_;
    HuCardLayout layout_;
    uint32_t sf2_bank_ = 0;
};

// Builds the card from the bytes of a .pce file: a 512-byte copier header is
// dropped when the size says there is one. Returns nullptr and an error line
// for a size that is no HuCard.
std::unique_ptr<HuCard> make_hucard(const std::vector<uint8_t>& file, std::string& error);

}  // namespace devsim
