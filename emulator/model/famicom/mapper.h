#pragma once
// A Famicom board's bank logic: which ROM byte a CPU or PPU address reaches
// and what a write to the register space does. One file per board; the board
// table in mapper_table.cpp names them all.

#include <cstdint>
#include <memory>
#include <vector>

namespace devsim {

struct BoardSizes {
    uint32_t prg_rom = 0;  // bytes, never 0
    uint32_t chr = 0;      // bytes of CHR ROM, or of CHR RAM when the board has no ROM
};

enum class PrgRamAccess {
    disabled,    // reads are open bus, writes are lost
    read_only,   // reads answer, writes are lost
    read_write,
};

class Mapper {
public:
    virtual ~Mapper() = default;

    // Registers as after power-on (or the init command).
    virtual void power_on() = 0;

    // Byte offset into PRG ROM of a CPU address 0x8000-0xFFFF. Banks are never
    // finer than 1 KiB: within an aligned 1 KiB window the offset follows the
    // address. Always below sizes.prg_rom.
    virtual uint32_t prg_offset(uint16_t address) const = 0;

    // Byte offset into CHR memory of a PPU address 0x0000-0x1FFF; the same
    // 1 KiB rule holds. Always below sizes.chr.
    virtual uint32_t chr_offset(uint16_t address) const = 0;

    // A CPU write to 0x8000-0xFFFF, with the value the register latches (the
    // board has already applied any bus conflict).
    virtual void write_register(uint16_t address, uint8_t value) = 0;

    // How the PRG RAM at 0x6000 answers, when the cartridge has some.
    virtual PrgRamAccess prg_ram_access() const { return PrgRamAccess::read_write; }
};

struct MapperInfo {
    uint16_t number;
    const char* name;
    // Discrete-logic boards: the ROM drives the data bus during a register
    // write too, so the latched value is the written one ANDed with the ROM
    // byte at that address.
    bool bus_conflicts;
    std::unique_ptr<Mapper> (*create)(const BoardSizes& sizes);
};

// The boards this emulator knows, in mapper-number order.
const std::vector<MapperInfo>& mapper_table();

// nullptr for a mapper number the table does not hold.
const MapperInfo* find_mapper(uint16_t number);

// Offset of an address inside a bank of a memory: bank bank of bank_size
// bytes, wrapped to the memory's size as the board's address lines wrap.
inline uint32_t banked_offset(uint32_t bank, uint32_t bank_size, uint32_t address, uint32_t memory_size) {
    const uint64_t offset = static_cast<uint64_t>(bank) * bank_size + (address % bank_size);
    return static_cast<uint32_t>(offset % memory_size);
}

std::unique_ptr<Mapper> make_nrom(const BoardSizes& sizes);
std::unique_ptr<Mapper> make_mmc1(const BoardSizes& sizes);
std::unique_ptr<Mapper> make_uxrom(const BoardSizes& sizes);
std::unique_ptr<Mapper> make_cnrom(const BoardSizes& sizes);
std::unique_ptr<Mapper> make_mmc3(const BoardSizes& sizes);
std::unique_ptr<Mapper> make_axrom(const BoardSizes& sizes);

}  // namespace devsim
