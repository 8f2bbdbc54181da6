#pragma once
// A dumper drive made of a folder: the identification file with its record
// at 0x8000 and the memory image, as the device presents them.

#include <cstdint>
#include <string>

constexpr const char kFamicomRecord[] = "NV4_PCB02_FW0102";
constexpr const char kPcEngineRecord[] = "HX8_PCB02_FW0102";

// Writes Q-DRIVER.DMP with the 16 bytes of record at 0x8000.
void write_identification(const std::string& folder, const std::string& record);

// The memory image every fixture uses: byte k is (k * 7 + (k >> 8)) & 0xFF,
// so neighbouring bytes and neighbouring pages differ.
std::string pattern_image(uint32_t size);

// A whole drive: identification record plus a pattern memory image.
void make_device_drive(const std::string& folder, const std::string& record, uint32_t image_size = 0x10000);

// The 512-byte sector as the device receives it: byte 0 'Z', CRC-16 at 510.
std::string framed_sector(std::string body);

std::string famicom_write_sector(uint32_t address, uint8_t value);
std::string pc_engine_write_sector(uint32_t address, uint8_t value);
std::string famicom_init_sector();
std::string pc_engine_init_sector();
