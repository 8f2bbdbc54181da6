#include "memory_commands.h"

#include <algorithm>
#include <cstdio>

#include "command_tokens.h"
#include "crc32.h"
#include "device_slots.h"
#include "host_files.h"

alignas(4096) uint8_t TransferBuffer[kMaximumTransferLength];

namespace {

const char kWriteUsage[] =
    "\nWrite data to cartridge\n\nw address [[value]|[length filename]]\n"
    "   address: address to write\n"
    "   value:   value to write\n"
    "   length:  specify the data length of write\n"
    "   filename:specify the data source filename\n\n";

void save_dump(const char* name, uint32_t length, int32_t delivered) {
    // A save shows only what the device delivered; asking for bytes and
    // getting none must not empty or create the file.
    if (length > 0 && delivered == 0) {
        std::printf("dump error,nothing read,file(%s) not written\n", name);
        return;
    }
    const uint32_t count = static_cast<uint32_t>(delivered);
    const int32_t written = write_host_file(name, TransferBuffer, count);
    if (written < 0) {
        std::printf("dump error,write file(%s) failed\n", name);
        return;
    }
    const uint32_t crc = crc32(TransferBuffer, static_cast<uint32_t>(written));
    std::printf("write %.4X(crc:%.8X) bytes to file(%s)\n", static_cast<unsigned>(written),
                static_cast<unsigned>(crc), name);
}

}  // namespace

void print_hex_dump(uint32_t start_address, const uint8_t* bytes, uint32_t length) {
    const char* label = start_address < 0x10000 ? "%04x: " : "%06x: ";
    for (uint32_t i = 0; i < length; ++i) {
        if (i % 16 == 0) std::printf(label, static_cast<unsigned>(start_address + i));
        std::printf("%02x ", bytes[i]);
        if ((i + 1) % 16 == 0) std::printf("\n");
    }
    if (length % 16 != 0) std::printf("\n");
}

void memory_write_command(int word_count) {
    if (word_count < 3) {
        std::printf("invalid parameter\n");
        std::printf("%s", kWriteUsage);
        return;
    }
    const int32_t address = parse_hex_number(CommandTokens[1]);
    if (word_count == 3) {
        static uint8_t value;
        value = static_cast<uint8_t>(parse_hex_number(CommandTokens[2]));
        std::printf("write %.2X to %.4X\n", static_cast<unsigned>(value), static_cast<unsigned>(address));
        write_memory(address, &value, 1);
        return;
    }
    const uint32_t length = parse_transfer_length(CommandTokens[2]);
    const char* name = CommandTokens[3];
    const uint32_t count = read_host_file(name, TransferBuffer, length, 0);
    std::printf("write %.4X bytes to cartridge to %.4X from %s\n", static_cast<unsigned>(count),
                static_cast<unsigned>(address), name);
    write_memory(address, TransferBuffer, count);
}

void memory_dump_command(int word_count) {
    const int32_t address = word_count >= 2 ? parse_hex_number(CommandTokens[1]) : 0;
    const uint32_t length = word_count >= 3 ? parse_transfer_length(CommandTokens[2]) : 0x100;
    const int32_t delivered = read_memory(address, TransferBuffer, length);
    if (delivered < 0) {
        std::printf("dump error,read device failed\n");
        return;
    }
    const int32_t shown = std::min<int32_t>(delivered, static_cast<int32_t>(length));
    if (word_count == 4)
        save_dump(CommandTokens[3], length, shown);
    else
        print_hex_dump(static_cast<uint32_t>(address), TransferBuffer, static_cast<uint32_t>(shown));
}
