#include "model/famicom/famicom_cartridge.h"

#include <algorithm>
#include <cstring>

namespace devsim {

namespace {

constexpr uint32_t kWindow = 0x400;  // banks are never finer than this

std::string kib(size_t bytes) {
    if (bytes % 1024 == 0) return std::to_string(bytes / 1024) + " KiB";
    return std::to_string(bytes) + " bytes";
}

}  // namespace

FamicomCartridge::FamicomCartridge(InesImage image, const MapperInfo& board, bool prg_ram)
    : image_(std::move(image)), board_(board), chr_is_ram_(image_.chr_rom.empty()) {
    if (chr_is_ram_)
        chr_.assign(kChrRamSize, 0x00);
    else
        chr_ = image_.chr_rom;
    if (prg_ram || image_.battery) prg_ram_.assign(kPrgRamSize, 0x00);
    BoardSizes sizes;
    sizes.prg_rom = static_cast<uint32_t>(image_.prg_rom.size());
    sizes.chr = static_cast<uint32_t>(chr_.size());
    mapper_ = board_.create(sizes);
    mapper_->power_on();
}

uint8_t FamicomCartridge::prg_byte(uint16_t address) const {
    return image_.prg_rom[mapper_->prg_offset(address)];
}

void FamicomCartridge::read(uint32_t address, uint8_t* out, uint32_t count) const {
    const uint32_t end = address + count;
    while (address < end) {
        const uint32_t chunk = std::min(end, (address / kWindow + 1) * kWindow) - address;
        const uint16_t a = static_cast<uint16_t>(address);
        if (address < 0x2000) {
            std::memcpy(out, chr_.data() + mapper_->chr_offset(a), chunk);
        } else if (address >= 0x8000) {
            std::memcpy(out, image_.prg_rom.data() + mapper_->prg_offset(a), chunk);
        } else if (address >= 0x6000 && !prg_ram_.empty() &&
                   mapper_->prg_ram_access() != PrgRamAccess::disabled) {
            std::memcpy(out, prg_ram_.data() + (address - 0x6000) % prg_ram_.size(), chunk);
        } else {
            std::memset(out, kOpenBus, chunk);
        }
        out += chunk;
        address += chunk;
    }
}

void FamicomCartridge::write(uint32_t address, uint8_t value) {
    const uint16_t a = static_cast<uint16_t>(address);
    if (a < 0x2000) {
        if (chr_is_ram_) chr_[mapper_->chr_offset(a)] = value;
    } else if (a >= 0x8000) {
        if (board_.bus_conflicts) value &= prg_byte(a);
        mapper_->write_register(a, value);
    } else if (a >= 0x6000) {
        if (!prg_ram_.empty() && mapper_->prg_ram_access() == PrgRamAccess::read_write)
            prg_ram_[(a - 0x6000) % prg_ram_.size()] = value;
    }
}

void FamicomCartridge::power_on(uint8_t) { mapper_->power_on(); }

std::string FamicomCartridge::describe() const {
    std::string text = "Famicom cartridge, mapper " + std::to_string(board_.number) + " (" + board_.name +
                       "), PRG ROM " + kib(image_.prg_rom.size()) + ", CHR " +
                       (chr_is_ram_ ? "RAM " : "ROM ") + kib(chr_.size());
    text += prg_ram_.empty() ? ", no PRG RAM" : ", PRG RAM " + kib(prg_ram_.size());
    if (board_.bus_conflicts) text += ", bus conflicts";
    return text;
}

std::unique_ptr<FamicomCartridge> make_famicom_cartridge(InesImage image, bool prg_ram, std::string& error) {
    const MapperInfo* board = find_mapper(image.mapper);
    if (board == nullptr) {
        std::string known;
        for (const MapperInfo& info : mapper_table())
            known += (known.empty() ? "" : ", ") + std::to_string(info.number);
        error = "mapper " + std::to_string(image.mapper) + " is not emulated (known mappers: " + known + ")";
        return nullptr;
    }
    return std::make_unique<FamicomCartridge>(std::move(image), *board, prg_ram);
}

}  // namespace devsim
