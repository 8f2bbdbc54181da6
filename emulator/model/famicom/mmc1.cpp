// Mapper 1 (MMC1): four 5-bit registers loaded through a serial port. Each
// write to 0x8000-0xFFFF shifts bit 0 in; the fifth write stores the value in
// the register that its address selects (0x8000 control, 0xA000 CHR bank 0,
// 0xC000 CHR bank 1, 0xE000 PRG bank). A write with bit 7 set empties the
// shift register and sets PRG mode 3.
//
// Control: bits 2-3 PRG mode (0-1: 32 KiB; 2: first bank fixed at 0x8000,
// 16 KiB switched at 0xC000; 3: 16 KiB switched at 0x8000, last bank fixed at
// 0xC000), bit 4 CHR mode (0: 8 KiB; 1: two 4 KiB banks).
// PRG bank: bits 0-3 the 16 KiB bank, bit 4 disables PRG RAM.
// 512 KiB boards (SUROM) take PRG address line 18 from bit 4 of CHR bank 0.
#include "model/famicom/mapper.h"

namespace devsim {
namespace {

constexpr uint32_t k4K = 0x1000;
constexpr uint32_t k16K = 0x4000;

class Mmc1 : public Mapper {
public:
    explicit Mmc1(const BoardSizes& sizes) : sizes_(sizes) {}

    void power_on() override {
        shift_ = 0;
        shift_count_ = 0;
        control_ = 0x0C;
        chr0_ = 0;
        chr1_ = 0;
        prg_ = 0;
    }

    uint32_t prg_offset(uint16_t address) const override {
        const uint32_t mode = (control_ >> 2) & 0x03;
        const uint32_t bank = prg_ & 0x0F;
        const bool high = address >= 0xC000;
        uint32_t b;
        switch (mode) {
            case 0:
            case 1: b = (bank & 0x0E) | (high ? 1 : 0); break;
            case 2: b = high ? bank : 0; break;
            default: b = high ? 0x0F : bank; break;
        }
        if (sizes_.prg_rom > 0x40000) b |= chr0_ & 0x10;
        return banked_offset(b, k16K, address, sizes_.prg_rom);
    }

    uint32_t chr_offset(uint16_t address) const override {
        if (control_ & 0x10) {
            const uint32_t bank = address < 0x1000 ? chr0_ : chr1_;
            return banked_offset(bank, k4K, address, sizes_.chr);
        }
        return banked_offset(chr0_ >> 1, 2 * k4K, address, sizes_.chr);
    }

    void write_register(uint16_t address, uint8_t value) override {
        if (value & 0x80) {
            shift_ = 0;
            shift_count_ = 0;
            control_ |= 0x0C;
            return;
        }
        shift_ = static_cast<uint8_t>((shift_ >> 1) | ((value & 0x01) << 4));
        if (++shift_count_ < 5) return;
        switch ((address >> 13) & 0x03) {
            case 0: control_ = shift_; break;
            case 1: chr0_ = shift_; break;
            case 2: chr1_ = shift_; break;
            default: prg_ = shift_; break;
        }
        shift_ = 0;
        shift_count_ = 0;
    }

    PrgRamAccess prg_ram_access() const override {
        return (prg_ & 0x10) ? PrgRamAccess::disabled : PrgRamAccess::read_write;
    }

private:
    BoardSizes sizes_;
    uint8_t shift_ = 0;
    int shift_count_ = 0;
    uint8_t control_ = 0x0C;
    uint8_t chr0_ = 0;
    uint8_t chr1_ = 0;
    uint8_t prg_ = 0;
};

}  // namespace

std::unique_ptr<Mapper> make_mmc1(const BoardSizes& sizes) { return std::make_unique<Mmc1>(sizes); }

}  // namespace devsim
