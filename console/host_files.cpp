#include "host_files.h"

#include "platform.h"

uint32_t read_host_file(const char* name, uint8_t* buffer, uint32_t length, int32_t offset) {
    const int32_t n = platform::read_host_file(name, offset, buffer, length, platform::Sharing::shared);
    return n < 0 ? 0 : static_cast<uint32_t>(n);
}

int32_t write_host_file(const char* name, const uint8_t* buffer, uint32_t length) {
    const int32_t n = platform::create_host_file(name, buffer, length);
    if (n < 0) platform::delete_file(name);
    return n;
}
