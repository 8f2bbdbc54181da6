// Mapper 3: PRG as on NROM; an 8 KiB CHR bank chosen by any write to
// 0x8000-0xFFFF.
#include "model/famicom/mapper.h"

namespace devsim {
namespace {

constexpr uint32_t k8K = 0x2000;

class Cnrom : public Mapper {
public:
    explicit Cnrom(const BoardSizes& sizes) : sizes_(sizes) {}
    void power_on() override { bank_ = 0; }
    uint32_t prg_offset(uint16_t address) const override { return (address - 0x8000u) % sizes_.prg_rom; }
    uint32_t chr_offset(uint16_t address) const override {
        return banked_offset(bank_, k8K, address, sizes_.chr);
    }
    void write_register(uint16_t, uint8_t value) override { bank_ = value; }

private:
    BoardSizes sizes_;
    uint8_t bank_ = 0;
};

}  // namespace

std::unique_ptr<Mapper> make_cnrom(const BoardSizes& sizes) { return std::make_unique<Cnrom>(sizes); }

}  // namespace devsim
