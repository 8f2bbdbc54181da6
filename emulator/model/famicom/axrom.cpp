// Mapper 7: a 32 KiB PRG bank chosen by bits 0-2 of any write to
// 0x8000-0xFFFF (bit 4 picks the one-screen nametable, which the dumper
// cannot see). CHR is 8 KiB, unbanked.
#include "model/famicom/mapper.h"

namespace devsim {
namespace {

constexpr uint32_t k32K = 0x8000;

class Axrom : public Mapper {
public:
    explicit Axrom(const BoardSizes& sizes) : sizes_(sizes) {}
    void power_on() override { bank_ = 0; }
    uint32_t prg_offset(uint16_t address) const override {
        return banked_offset(bank_, k32K, address, sizes_.prg_rom);
    }
    uint32_t chr_offset(uint16_t address) const override { return address % sizes_.chr; }
    void write_register(uint16_t, uint8_t value) override { bank_ = value & 0x07; }

private:
    BoardSizes sizes_;
    uint8_t bank_ = 0;
};

}  // namespace

std::unique_ptr<Mapper> make_axrom(const BoardSizes& sizes) { return std::make_unique<Axrom>(sizes); }

}  // namespace devsim
