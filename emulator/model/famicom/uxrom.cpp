// Mapper 2: a 16 KiB PRG bank at 0x8000 chosen by any write to 0x8000-0xFFFF,
// the last 16 KiB fixed at 0xC000. CHR is 8 KiB, unbanked.
#include "model/famicom/mapper.h"

namespace devsim {
namespace {

constexpr uint32_t k16K = 0x4000;

class Uxrom : public Mapper {
public:
    explicit Uxrom(const BoardSizes& sizes) : sizes_(sizes) {}
    void power_on() override { bank_ = 0; }
    uint32_t prg_offset(uint16_t address) const override {
        const uint32_t banks = (sizes_.prg_rom + k16K - 1) / k16K;
        const uint32_t bank = address < 0xC000 ? bank_ : banks - 1;
        return banked_offset(bank, k16K, address, sizes_.prg_rom);
    }
    uint32_t chr_offset(uint16_t address) const override { return address % sizes_.chr; }
    void write_register(uint16_t, uint8_t value) override { bank_ = value; }

private:
    BoardSizes sizes_;
    uint8_t bank_ = 0;
};

}  // namespace

std::unique_ptr<Mapper> make_uxrom(const BoardSizes& sizes) { return std::make_unique<Uxrom>(sizes); }

}  // namespace devsim
