#include "drive_map.h"

#include <cctype>
#include <cstring>

namespace platform {
namespace {

bool parse_type(const std::string& word, DriveType& type) {
    static const struct {
        const char* name;
        DriveType type;
    } kTypes[] = {
        {"removable", DriveType::removable}, {"fixed", DriveType::fixed},
        {"cdrom", DriveType::cdrom},         {"remote", DriveType::remote},
        {"ramdisk", DriveType::ramdisk},
    };
    for (const auto& t : kTypes) {
        if (word.size() == std::strlen(t.name)) {
            bool same = true;
            for (size_t i = 0; i < word.size(); ++i)
                same = same && std::tolower(static_cast<unsigned char>(word[i])) == t.name[i];
            if (same) {
                type = t.type;
                return true;
            }
        }
    }
    return false;
}

// One entry; returns an error text, empty when the entry is good.
std::string parse_entry(const std::string& entry, DriveMap& drives) {
    const size_t eq = entry.find('=');
    if (eq == std::string::npos) return "missing '=' (expected X=PATH or X:TYPE=PATH)";
    const std::string head = entry.substr(0, eq);
    const std::string path = entry.substr(eq + 1);
    if (head.empty() || !std::isalpha(static_cast<unsigned char>(head[0])) ||
        static_cast<unsigned char>(head[0]) > 0x7F)
        return "the drive must be a letter A to Z";
    DriveType type = DriveType::removable;
    if (head.size() > 1) {
        if (head[1] != ':' || !parse_type(head.substr(2), type))
            return "unknown drive type (use removable, fixed, cdrom, remote or ramdisk)";
    }
    if (path.empty()) return "empty folder path";
    Drive& drive = drives[std::toupper(static_cast<unsigned char>(head[0])) - 'A'];
    drive.type = type;
    drive.root = path;
    return {};
}

}  // namespace

DriveMap parse_drive_map(const std::string& text, std::vector<std::string>& errors) {
    DriveMap drives{};
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        const std::string entry = text.substr(start, end - start);
        if (!entry.empty()) {
            const std::string why = parse_entry(entry, drives);
            if (!why.empty()) errors.push_back("CALDRIN_DRIVES entry \"" + entry + "\" ignored: " + why);
        }
        start = end + 1;
    }
    return drives;
}

bool resolve_drive_path(const DriveMap& drives, const char* path, std::string& resolved) {
    const unsigned char first = static_cast<unsigned char>(path[0]);
    if (first < 0x80 && std::isalpha(first) && path[1] == ':') {
        const Drive& drive = drives[std::toupper(first) - 'A'];
        if (drive.root.empty()) return false;
        const char* rest = path + 2;
        while (*rest == '\\' || *rest == '/') ++rest;
        resolved = drive.root;
        if (*rest != '\0') {
            if (resolved.back() != '/') resolved += '/';
            resolved += rest;
        }
    } else {
        resolved = path;
    }
    for (char& c : resolved)
        if (c == '\\') c = '/';
    return true;
}

}  // namespace platform
