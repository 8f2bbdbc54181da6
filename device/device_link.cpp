#include "device_link.h"

#include <cstdio>
#include <cstring>

#include "command_sectors.h"
#include "device_file.h"
#include "device_slots.h"
#include "memory_access.h"
#include "platform.h"

namespace {

char current_letter = 0;
// One byte longer than the record, never written, so the record always
// prints as text.
char device_id[kDeviceIdSize + 1] = {};

struct DeviceModel {
    const char* tag;  // bytes 0 to 11 of the record
    void (*send_init)();
    WriteMemoryOperation write;
};

void init_famicom() { send_init_famicom(1); }
void init_pc_engine() { send_init_pc_engine(); }

const DeviceModel kDeviceModels[] = {
    {"NV4_PCB02_FW", init_famicom, write_memory_famicom},
    {"HX8_PCB02_FW", init_pc_engine, write_memory_pc_engine},
};

std::string file_name_on(char letter, const char* name) {
    char path[32];
    std::snprintf(path, sizeof path, "%c:\\%s", letter, name);
    return path;
}

}  // namespace

std::string device_file_name(const char* name) { return file_name_on(current_letter, name); }

char current_drive_letter() { return current_letter; }

std::string device_id_text() { return std::string(device_id); }

bool probe_drive(char letter) {
    if (platform::drive_type(letter) != platform::DriveType::removable) return false;
    alignas(8) uint8_t record[kDeviceIdSize];
    // A record cut short by the end of the file identifies nothing.
    if (read_device_file(file_name_on(letter, "Q-DRIVER.DMP").c_str(), record, kDeviceIdSize,
                         kDeviceIdOffset) != static_cast<int32_t>(kDeviceIdSize))
        return false;
    std::memcpy(device_id, record, kDeviceIdSize);
    return true;
}

bool find_device(char letter, char& found_letter) {
    if (letter != 0) {
        if (!probe_drive(letter)) return false;
        found_letter = letter;
        return true;
    }
    const uint32_t mask = platform::logical_drives();
    for (int i = 0; i < 26; ++i) {
        if ((mask & (1u << i)) == 0) continue;
        const char candidate = static_cast<char>('A' + i);
        if (probe_drive(candidate)) {
            found_letter = candidate;
            return true;
        }
    }
    return false;
}

int select_device(char letter) {
    char found = 0;
    if (!find_device(letter, found)) return 0;
    current_letter = found;
    for (const DeviceModel& model : kDeviceModels) {
        if (std::memcmp(device_id, model.tag, 12) != 0) continue;
        model.send_init();
        device_slots = {read_memory_image, model.write};
        std::printf("Init %s OK\n", device_id);
        return 1;
    }
    reset_device_slots();
    return 0;
}

void list_devices() {
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        if (probe_drive(letter)) std::printf("Find %c: %s\n", letter, device_id);
}
