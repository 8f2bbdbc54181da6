#pragma once
// What a "d address length file" line tells the user about the file, held
// against the file itself: a save it reports holds exactly the bytes the
// memory image had there, under the CRC it printed; a save it refuses
// leaves the file as it was; a write that fails leaves no partial file.

#include <cstdint>
#include <optional>
#include <string>

struct SaveSnapshot {
    std::string path;                   // host path of the named file; empty when no drive maps it
    std::optional<std::string> before;  // its content before the line, nullopt when absent
    std::string image;                  // the memory image the dump reads from
    int32_t address = 0;
};

// Taken just before the line runs.
SaveSnapshot take_save_snapshot(const std::string& path, const std::string& image_path, int32_t address);

// Checks the line's output against the files; aborts on a mismatch.
void check_save(const SaveSnapshot& snapshot, const std::string& output);
