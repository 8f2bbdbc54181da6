#include "device_slots.h"

#include <cstdio>

namespace {

void print_not_initialised() {
    std::printf("please init device first\n");
    std::printf("get more infomation,type h[enter].\n");
}

int32_t read_not_initialised(int32_t, uint8_t*, uint32_t) {
    print_not_initialised();
    return 0;
}

int32_t write_not_initialised(int32_t, const uint8_t*, uint32_t) {
    print_not_initialised();
    return 0;
}

}  // namespace

DeviceSlots device_slots = {read_not_initialised, write_not_initialised};

int32_t read_memory(int32_t address, uint8_t* buffer, uint32_t length) {
    return device_slots.read_memory(address, buffer, length);
}

int32_t write_memory(int32_t address, const uint8_t* data, uint32_t length) {
    return device_slots.write_memory(address, data, length);
}

void reset_device_slots() {
    device_slots = {read_not_initialised, write_not_initialised};
}
