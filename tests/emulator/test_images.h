#pragma once
// Cartridge images for the device emulator's tests. Every byte tells where
// it came from, so a read that reaches the wrong bank cannot pass.

#include <cstdint>
#include <string>
#include <vector>

namespace devsim_test {

// The byte at offset i of the PRG ROM. The last 256 bytes of every 16 KiB
// bank hold 00..FF, so that a discrete board can be switched to bank n by
// writing n where the ROM itself holds n (no bus conflict).
uint8_t prg_byte(uint32_t i);
// The byte at offset i of the CHR ROM.
uint8_t chr_byte(uint32_t i);

// An iNES file: mapper number, PRG and CHR sizes in KiB (CHR 0: CHR RAM).
std::vector<uint8_t> make_ines(int mapper, uint32_t prg_kib, uint32_t chr_kib, bool battery = false);

// A HuCard image of kib KiB whose 8 KiB pages all differ.
std::vector<uint8_t> make_hucard(uint32_t kib, bool copier_header = false);
uint8_t hucard_byte(uint32_t i);

// Slices of the same patterns, for comparing with what a read returned.
std::vector<uint8_t> prg_bytes(uint32_t offset, uint32_t count);
std::vector<uint8_t> chr_bytes(uint32_t offset, uint32_t count);
std::vector<uint8_t> hucard_bytes(uint32_t offset, uint32_t count);

// CPU address in 0xFF00-0xFFFF of the fixed last bank where the ROM holds
// value (see prg_byte), when the last bank is mapped at 0xC000.
inline uint16_t table_address(uint8_t value) { return static_cast<uint16_t>(0xFF00 + value); }

// A framed command sector: 'Z', the body's bytes 1-509, CRC-16 high first.
std::vector<uint8_t> framed(std::vector<uint8_t> sector);
std::vector<uint8_t> famicom_init_sector(uint8_t argument = 1);
std::vector<uint8_t> famicom_write_sector(uint16_t address, uint8_t value);
std::vector<uint8_t> pc_engine_init_sector();
std::vector<uint8_t> pc_engine_write_sector(uint32_t address, uint8_t value);

void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> read_bytes(const std::string& path);

}  // namespace devsim_test
