// Mapper 4 (MMC3). Registers by address range and parity:
//   0x8000 even: bank select (bits 0-2 which of R0-R7 the next data write
//                sets, bit 6 PRG mode, bit 7 CHR A12 inversion)
//   0x8001 odd:  bank data
//   0xA000 even: nametable mirroring (invisible to the dumper)
//   0xA001 odd:  PRG RAM protect: bit 7 enables the RAM, bit 6 refuses writes
//   0xC000-0xFFFF: the scanline IRQ, which a dumper never clocks.
// PRG: R6 and R7 are 8 KiB banks; the second-last bank sits at 0x8000 or
// 0xC000 depending on the PRG mode, the last bank always at 0xE000.
// CHR: R0 and R1 are 2 KiB banks (low bit ignored), R2-R5 1 KiB banks; the
// inversion bit swaps the 2 KiB pair to 0x1000.
//
// The chip powers up with unknown register contents. Here the bank registers
// start as an identity layout and the PRG RAM starts disabled, as a dump
// script must not count on either.
#include "model/famicom/mapper.h"

namespace devsim {
namespace {

constexpr uint32_t k1K = 0x400;
constexpr uint32_t k8K = 0x2000;

class Mmc3 : public Mapper {
public:
    explicit Mmc3(const BoardSizes& sizes) : sizes_(sizes) {}

    void power_on() override {
        select_ = 0;
        ram_protect_ = 0;
        const uint8_t identity[8] = {0, 2, 4, 5, 6, 7, 0, 1};
        for (int i = 0; i < 8; ++i) regs_[i] = identity[i];
    }

    uint32_t prg_offset(uint16_t address) const override {
        const uint32_t banks = (sizes_.prg_rom + k8K - 1) / k8K;
        const uint32_t second_last = banks >= 2 ? banks - 2 : 0;
        const uint32_t last = banks - 1;
        const bool mode1 = (select_ & 0x40) != 0;
        uint32_t bank;
        switch ((address >> 13) & 0x03) {
            case 0: bank = mode1 ? second_last : regs_[6]; break;
            case 1: bank = regs_[7]; break;
            case 2: bank = mode1 ? regs_[6] : second_last; break;
            default: bank = last; break;
        }
        return banked_offset(bank, k8K, address, sizes_.prg_rom);
    }

    uint32_t chr_offset(uint16_t address) const override {
        uint32_t slot = (address >> 10) & 0x07;  // 1 KiB slot 0-7
        if (select_ & 0x80) slot ^= 0x04;
        uint32_t bank;
        if (slot < 4)
            bank = (regs_[slot >> 1] & 0xFE) | (slot & 1);
        else
            bank = regs_[2 + (slot - 4)];
        return banked_offset(bank, k1K, address, sizes_.chr);
    }

    void write_register(uint16_t address, uint8_t value) override {
        const bool odd = (address & 1) != 0;
        switch ((address >> 13) & 0x03) {
            case 0:
                if (odd)
                    regs_[select_ & 0x07] = value;
                else
                    select_ = value;
                break;
            case 1:
                if (odd) ram_protect_ = value;
                break;
            default:
                break;
        }
    }

    PrgRamAccess prg_ram_access() const override {
        if (!(ram_protect_ & 0x80)) return PrgRamAccess::disabled;
        return (ram_protect_ & 0x40) ? PrgRamAccess::read_only : PrgRamAccess::read_write;
    }

private:
    BoardSizes sizes_;
    uint8_t select_ = 0;
    uint8_t ram_protect_ = 0;
    uint8_t regs_[8] = {0, 2, 4, 5, 6, 7, 0, 1};
};

}  // namespace

std::unique_ptr<Mapper> make_mmc3(const BoardSizes& sizes) { return std::make_unique<Mmc3>(sizes); }

}  // namespace devsim
