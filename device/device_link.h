#pragma once
// Finding, identifying and selecting the dumper among the drive letters.

#include <cstdint>
#include <string>

constexpr uint32_t kDeviceIdSize = 16;
constexpr int32_t kDeviceIdOffset = 0x8000;

// Selects the device on the drive letter, or scans A to Z for the first
// dumper drive with letter 0. Returns 1 and prints "Init %s OK" when the
// drive's record names a known model; 0 otherwise.
int select_device(char letter);

// Prints "Find %c: %s" for every drive A to Z with a readable identification
// file. Changes neither the selection nor the current drive letter.
void list_devices();

// probe_drive on a letter, or a scan of the drives present for letter 0.
// On success the drive's letter is stored in found_letter.
bool find_device(char letter, char& found_letter);

// Whether letter is a removable drive whose identification record reads;
// the record replaces the DeviceId.
bool probe_drive(char letter);

// The DeviceId as text: up to its first zero byte, at most 16 characters.
std::string device_id_text();

// The letter every device file name is built from; 0 before a selection.
char current_drive_letter();

// "%c:\NAME" on the current drive letter.
std::string device_file_name(const char* name);
