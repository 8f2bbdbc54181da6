#include "test_images.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "crc16_xmodem.h"

namespace devsim_test {

namespace {

uint8_t mix(uint32_t i, uint32_t salt) {
    uint32_t x = (i + salt) * 2654435761u;
    x ^= x >> 15;
    x *= 2246822519u;
    return static_cast<uint8_t>(x >> 24);
}

}  // namespace

uint8_t prg_byte(uint32_t i) {
    if ((i & 0x3F00) == 0x3F00) return static_cast<uint8_t>(i & 0xFF);
    return mix(i, 0x1234);
}

uint8_t chr_byte(uint32_t i) { return mix(i, 0xC0FFEE); }

uint8_t hucard_byte(uint32_t i) { return mix(i, 0xBEEF); }

std::vector<uint8_t> make_ines(int mapper, uint32_t prg_kib, uint32_t chr_kib, bool battery) {
    std::vector<uint8_t> file = {'N', 'E', 'S', 0x1A,
                                 static_cast<uint8_t>(prg_kib / 16),
                                 static_cast<uint8_t>(chr_kib / 8),
                                 static_cast<uint8_t>(((mapper & 0x0F) << 4) | (battery ? 0x02 : 0x00)),
                                 static_cast<uint8_t>(mapper & 0xF0),
                                 0, 0, 0, 0, 0, 0, 0, 0};
    for (uint32_t i = 0; i < prg_kib * 1024; ++i) file.push_back(prg_byte(i));
    for (uint32_t i = 0; i < chr_kib * 1024; ++i) file.push_back(chr_byte(i));
    return file;
}

std::vector<uint8_t> make_hucard(uint32_t kib, bool copier_header) {
    std::vector<uint8_t> file(copier_header ? 512 : 0, 0x00);
    for (uint32_t i = 0; i < kib * 1024; ++i) file.push_back(hucard_byte(i));
    return file;
}

std::vector<uint8_t> prg_bytes(uint32_t offset, uint32_t count) {
    std::vector<uint8_t> out;
    for (uint32_t i = 0; i < count; ++i) out.push_back(prg_byte(offset + i));
    return out;
}

std::vector<uint8_t> chr_bytes(uint32_t offset, uint32_t count) {
    std::vector<uint8_t> out;
    for (uint32_t i = 0; i < count; ++i) out.push_back(chr_byte(offset + i));
    return out;
}

std::vector<uint8_t> hucard_bytes(uint32_t offset, uint32_t count) {
    std::vector<uint8_t> out;
    for (uint32_t i = 0; i < count; ++i) out.push_back(hucard_byte(offset + i));
    return out;
}

std::vector<uint8_t> framed(std::vector<uint8_t> sector) {
    sector.resize(512, 0x00);
    sector[0] = 0x5A;
    const uint16_t crc = crc16_xmodem(sector.data(), 510);
    sector[510] = static_cast<uint8_t>(crc >> 8);
    sector[511] = static_cast<uint8_t>(crc);
    return sector;
}

std::vector<uint8_t> famicom_init_sector(uint8_t argument) {
    return framed({0, 0x0E, 0x01, 0x00, argument});
}

std::vector<uint8_t> famicom_write_sector(uint16_t address, uint8_t value) {
    return framed({0, 0x0E, 0x05, 0x00, static_cast<uint8_t>(address), static_cast<uint8_t>(address >> 8), 0, 0,
                   0x01, 0x00, 0, 0, value});
}

std::vector<uint8_t> pc_engine_init_sector() { return framed({0, 0x11, 0x01}); }

std::vector<uint8_t> pc_engine_write_sector(uint32_t address, uint8_t value) {
    return framed({0, 0x11, 0x02, static_cast<uint8_t>(address), static_cast<uint8_t>(address >> 8),
                   static_cast<uint8_t>(address >> 16), value});
}

void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::vector<uint8_t> read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace devsim_test
