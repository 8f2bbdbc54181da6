// The CALDRIN_DRIVES text and the paths resolved through it. An input is the
// text, then after its first '\n' one path per line.
//
// The whole text must read as its entries read one at a time, the later of
// two good entries for a letter winning; a path on a letter with no drive
// must fail, and every other path must land under its drive's folder.

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "drive_map.h"
#include "fuzz_check.h"

namespace {

using platform::DriveMap;
using platform::DriveType;

std::vector<std::string> entries_of(const std::string& text) {
    std::vector<std::string> entries;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(';', start);
        entries.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return entries;
        start = end + 1;
    }
}

bool is_drive_type(DriveType type) {
    return type == DriveType::removable || type == DriveType::fixed || type == DriveType::cdrom ||
           type == DriveType::remote || type == DriveType::ramdisk;
}

DriveMap check_parse(const std::string& text) {
    std::vector<std::string> errors;
    const DriveMap whole = platform::parse_drive_map(text, errors);

    DriveMap folded{};
    std::vector<std::string> folded_errors;
    for (const std::string& entry : entries_of(text)) {
        std::vector<std::string> one_error;
        const DriveMap one = platform::parse_drive_map(entry, one_error);
        int drives = 0;
        for (size_t i = 0; i < one.size(); ++i) {
            if (one[i].root.empty()) {
                require(one[i].type == DriveType::no_root_dir, "a letter without a folder has no type");
                continue;
            }
            require(is_drive_type(one[i].type), "a drive has one of the five types");
            folded[i] = one[i];
            ++drives;
        }
        require(entry.empty() ? drives == 0 && one_error.empty()
                              : (drives == 1) != (one_error.size() == 1) && one_error.size() <= 1,
                "an entry makes one drive or one complaint");
        folded_errors.insert(folded_errors.end(), one_error.begin(), one_error.end());
    }
    require(errors == folded_errors, "complaints are those of the entries, in order");
    for (size_t i = 0; i < whole.size(); ++i)
        require(whole[i].root == folded[i].root && whole[i].type == folded[i].type,
                "the whole text maps as its entries do");
    return whole;
}

std::string with_slashes(std::string text) {
    for (char& c : text)
        if (c == '\\') c = '/';
    return text;
}

void check_resolve(const DriveMap& drives, const std::string& path) {
    std::string resolved = "unchanged";
    const bool ok = platform::resolve_drive_path(drives, path.c_str(), resolved);
    const unsigned char first = static_cast<unsigned char>(path.c_str()[0]);
    const bool on_letter = first < 0x80 && std::isalpha(first) && path.size() >= 2 && path[1] == ':';
    if (!on_letter) {
        require(ok && resolved == with_slashes(path), "a path without a letter stays as it is");
        return;
    }
    const platform::Drive& drive = drives[std::toupper(first) - 'A'];
    if (drive.root.empty()) {
        require(!ok, "a letter without a drive fails");
        return;
    }
    require(ok, "a path on a drive resolves");
    require(resolved.find('\\') == std::string::npos, "no backslash is left");
    const std::string root = with_slashes(drive.root);
    require(resolved.compare(0, root.size(), root) == 0, "the path lands under its drive's folder");
    size_t rest = 2;
    while (rest < path.size() && (path[rest] == '/' || path[rest] == '\\')) ++rest;
    std::string tail = resolved.substr(root.size());
    while (!tail.empty() && tail[0] == '/') tail.erase(0, 1);
    require(tail == with_slashes(path.substr(rest)), "the rest of the path follows the folder");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t newline = input.find('\n');
    const DriveMap drives = check_parse(input.substr(0, newline));
    if (newline == std::string::npos) return 0;
    size_t start = newline + 1;
    while (start <= input.size()) {
        size_t end = input.find('\n', start);
        if (end == std::string::npos) end = input.size();
        // Program paths are zero-terminated texts; a zero byte ends one.
        check_resolve(drives, input.substr(start, end - start).c_str());
        start = end + 1;
    }
    return 0;
}
