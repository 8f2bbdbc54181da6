#pragma once
// The Famicom-family device's view of a cartridge. Write addresses are 16
// bits; the memory image covers 0x0000-0xFFFF:
//   0x0000-0x1FFF  PPU pattern space: CHR ROM through the mapper, or 8 KiB
//                  of CHR RAM when the image has no CHR ROM (writes land in
//                  RAM only)
//   0x6000-0x7FFF  PRG RAM when the cartridge has it, else open bus
//   0x8000-0xFFFF  PRG ROM through the mapper; writes reach its registers
//   elsewhere      open bus

#include <memory>
#include <vector>

#include "model/cartridge_model.h"
#include "model/famicom/ines_image.h"
#include "model/famicom/mapper.h"

namespace devsim {

constexpr uint32_t kChrRamSize = 0x2000;
constexpr uint32_t kPrgRamSize = 0x2000;

class FamicomCartridge : public CartridgeModel {
public:
    // The image must name a mapper of the table (see make_famicom_cartridge).
    FamicomCartridge(InesImage image, const MapperInfo& board, bool prg_ram);

    Family family() const override { return Family::famicom; }
    uint32_t address_space_size() const override { return 0x10000; }
    void read(uint32_t address, uint8_t* out, uint32_t count) const override;
    void write(uint32_t address, uint8_t value) override;
    void power_on(uint8_t argument) override;
    std::string describe() const override;

    bool has_chr_ram() const { return chr_is_ram_; }
    bool has_prg_ram() const { return !prg_ram_.empty(); }

private:
    // The byte the CPU reads at 0x8000-0xFFFF right now.
    uint8_t prg_byte(uint16_t address) const;

    InesImage image_;
    const MapperInfo& board_;
    std::vector<uint8_t> chr_;  // CHR ROM, or CHR RAM
    bool chr_is_ram_;
    std::vector<uint8_t> prg_ram_;
    std::unique_ptr<Mapper> mapper_;
};

// Builds the cartridge for an image, or explains in error why it cannot.
// prg_ram adds 8 KiB of PRG RAM whatever the header's battery bit says.
std::unique_ptr<FamicomCartridge> make_famicom_cartridge(InesImage image, bool prg_ram, std::string& error);

}  // namespace devsim
