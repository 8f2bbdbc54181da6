// Mapper 0: no registers. 16 KiB of PRG ROM appear twice, 32 KiB once;
// 8 KiB of CHR.
#include "model/famicom/mapper.h"

namespace devsim {
namespace {

class Nrom : public Mapper {
public:
    explicit Nrom(const BoardSizes& sizes) : sizes_(sizes) {}
    void power_on() override {}
    uint32_t prg_offset(uint16_t address) const override { return (address - 0x8000u) % sizes_.prg_rom; }
    uint32_t chr_offset(uint16_t address) const override { return address % sizes_.chr; }
    void write_register(uint16_t, uint8_t) override {}

private:
    BoardSizes sizes_;
};

}  // namespace

std::unique_ptr<Mapper> make_nrom(const BoardSizes& sizes) { return std::make_unique<Nrom>(sizes); }

}  // namespace devsim
