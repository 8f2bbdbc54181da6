#include "device_drive.h"

#include "files.h"

// An independent CRC-16/XMODEM, bit by bit, so the framing of the program is
// checked against something other than its own table.
namespace {

uint16_t crc16_bitwise(const std::string& data, size_t count) {
    uint16_t crc = 0;
    for (size_t i = 0; i < count; ++i) {
        crc ^= static_cast<uint16_t>(static_cast<uint8_t>(data[i]) << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return crc;
}

}  // namespace

void write_identification(const std::string& folder, const std::string& record) {
    std::string content(0x8000, '\0');
    content += record.substr(0, 16);
    content.resize(0x8000 + 512, '\0');
    write_file(folder + "/Q-DRIVER.DMP", content);
}

std::string pattern_image(uint32_t size) {
    std::string image(size, '\0');
    for (uint32_t k = 0; k < size; ++k) image[k] = static_cast<char>((k * 7 + (k >> 8)) & 0xFF);
    return image;
}

void make_device_drive(const std::string& folder, const std::string& record, uint32_t image_size) {
    write_identification(folder, record);
    write_file(folder + "/DUMP.ROM", pattern_image(image_size));
}

std::string framed_sector(std::string body) {
    body.resize(512, '\0');
    body[0] = 'Z';
    const uint16_t crc = crc16_bitwise(body, 510);
    body[510] = static_cast<char>(crc >> 8);
    body[511] = static_cast<char>(crc & 0xFF);
    return body;
}

std::string famicom_write_sector(uint32_t address, uint8_t value) {
    std::string s(512, '\0');
    s[1] = 0x0E;
    s[2] = 0x05;
    s[4] = static_cast<char>(address & 0xFF);
    s[5] = static_cast<char>((address >> 8) & 0xFF);
    s[8] = 0x01;
    s[12] = static_cast<char>(value);
    return framed_sector(s);
}

std::string pc_engine_write_sector(uint32_t address, uint8_t value) {
    std::string s(512, '\0');
    s[1] = 0x11;
    s[2] = 0x02;
    s[3] = static_cast<char>(address & 0xFF);
    s[4] = static_cast<char>((address >> 8) & 0xFF);
    s[5] = static_cast<char>((address >> 16) & 0xFF);
    s[6] = static_cast<char>(value);
    return framed_sector(s);
}

std::string famicom_init_sector() { return framed_sector(bytes({0, 0x0E, 0x01, 0x00, 0x01})); }
std::string pc_engine_init_sector() { return framed_sector(bytes({0, 0x11, 0x01})); }
