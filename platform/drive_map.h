#pragma once
// Drive letters for a system that has none: which letters exist, their type
// and the folder that is each one's root.

#include <array>
#include <string>
#include <vector>

#include "platform.h"

namespace platform {

struct Drive {
    DriveType type = DriveType::no_root_dir;
    std::string root;  // folder; empty when the letter has no drive
};

using DriveMap = std::array<Drive, 26>;

// Parses the CALDRIN_DRIVES text: entries separated by ';', each "X=PATH" (a
// removable drive) or "X:TYPE=PATH" with TYPE one of removable, fixed, cdrom,
// remote, ramdisk. Letters are case-insensitive; empty entries are skipped.
// A malformed entry adds one line to errors and is left out; a later entry for
// the same letter replaces an earlier one.
DriveMap parse_drive_map(const std::string& text, std::vector<std::string>& errors);

// Maps a program path onto the host: "X:\REST" or "X:/REST" on a mapped letter
// becomes ROOT/REST, backslashes become slashes. Returns false for a path on a
// letter that has no drive, which must then fail as a missing file would.
bool resolve_drive_path(const DriveMap& drives, const char* path, std::string& resolved);

}  // namespace platform
