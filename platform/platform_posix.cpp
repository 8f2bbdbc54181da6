// POSIX implementation of the operating-system layer.

#include <fcntl.h>
#include <langinfo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <vector>

#include "drive_map.h"
#include "platform.h"

namespace platform {
namespace {

// Octal escapes (\040 for a blank) in /proc/self/mountinfo fields.
std::string unescape_mount_field(const std::string& field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits = field.substr(i + 1, 3);
            if (digits.size() == 3 && std::all_of(digits.begin(), digits.end(),
                                                  [](char c) { return c >= '0' && c <= '7'; })) {
                out += static_cast<char>(std::stoi(digits, nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

bool read_sysfs_flag(const std::string& path) {
    std::ifstream in(path);
    int value = 0;
    return (in >> value) && value == 1;
}

// A block device counts as removable media when the kernel says so, for the
// device or the disk a partition belongs to, or when it sits on a USB bus.
bool is_removable_block_device(const std::string& major_minor) {
    const std::string link = "/sys/dev/block/" + major_minor;
    char real[4096];
    const ssize_t n = readlink(link.c_str(), real, sizeof real - 1);
    if (n <= 0) return false;
    real[n] = '\0';
    if (std::strstr(real, "/usb") != nullptr) return true;
    if (read_sysfs_flag(link + "/removable")) return true;
    return read_sysfs_flag(link + "/../removable");
}

// Mounted removable media get the letters D upward, in order of mount point.
DriveMap detect_removable_drives() {
    std::vector<std::string> mount_points;
    std::ifstream in("/proc/self/mountinfo");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string id, parent, major_minor, root, mount_point;
        if (!(fields >> id >> parent >> major_minor >> root >> mount_point)) continue;
        if (major_minor.rfind("0:", 0) == 0) continue;  // no backing block device
        if (is_removable_block_device(major_minor))
            mount_points.push_back(unescape_mount_field(mount_point));
    }
    std::sort(mount_points.begin(), mount_points.end());
    mount_points.erase(std::unique(mount_points.begin(), mount_points.end()), mount_points.end());
    DriveMap drives{};
    char letter = 'D';
    for (const std::string& mount_point : mount_points) {
        if (letter > 'Z') break;
        drives[letter - 'A'] = Drive{DriveType::removable, mount_point};
        ++letter;
    }
    return drives;
}

// The drive map in force. CALDRIN_DRIVES, when set, alone defines it and is
// parsed again whenever its text changes; its complaints are printed once.
// Without it the removable media are looked up afresh at every drive scan.
const DriveMap& current_drives(bool rescan) {
    static DriveMap drives{};
    static std::string parsed_text;
    static bool from_environment = false;
    static bool detected = false;
    static std::vector<std::string> reported;

    const char* text = std::getenv("CALDRIN_DRIVES");
    if (text != nullptr) {
        if (!from_environment || parsed_text != text) {
            std::vector<std::string> errors;
            drives = parse_drive_map(text, errors);
            for (const std::string& error : errors) {
                if (std::find(reported.begin(), reported.end(), error) != reported.end()) continue;
                std::fprintf(stderr, "%s\n", error.c_str());
                reported.push_back(error);
            }
            parsed_text = text;
            from_environment = true;
        }
    } else if (from_environment || !detected || rescan) {
        drives = detect_removable_drives();
        from_environment = false;
        detected = true;
    }
    return drives;
}

// The host path for a program path, or false for a letter with no drive.
bool host_path(const char* path, std::string& resolved) {
    return resolve_drive_path(current_drives(false), path, resolved);
}

int open_path(const char* path, int flags, mode_t mode = 0) {
    std::string resolved;
    if (!host_path(path, resolved)) {
        errno = ENOENT;
        return -1;
    }
    int fd;
    do fd = ::open(resolved.c_str(), flags | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

// Reads until length bytes or the end of the file; -1 on an error.
int64_t read_fully(int fd, void* buffer, size_t length, off_t offset, bool positioned) {
    size_t total = 0;
    auto* out = static_cast<unsigned char*>(buffer);
    while (total < length) {
        const ssize_t n = positioned ? ::pread(fd, out + total, length - total, offset + total)
                                     : ::read(fd, out + total, length - total);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        total += static_cast<size_t>(n);
    }
    return static_cast<int64_t>(total);
}

// Writes everything; -1 on an error (a full disk among them).
int64_t write_fully(int fd, const void* data, size_t length) {
    size_t total = 0;
    const auto* in = static_cast<const unsigned char*>(data);
    while (total < length) {
        const ssize_t n = ::write(fd, in + total, length - total);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return -1;
        total += static_cast<size_t>(n);
    }
    return static_cast<int64_t>(total);
}

}  // namespace

uint32_t logical_drives() {
    const DriveMap& drives = current_drives(true);
    uint32_t mask = 0;
    for (int i = 0; i < 26; ++i)
        if (!drives[i].root.empty()) mask |= 1u << i;
    return mask;
}

DriveType drive_type(char letter) {
    const unsigned char c = static_cast<unsigned char>(letter);
    if (c >= 0x80 || !std::isalpha(c)) return DriveType::no_root_dir;
    const Drive& drive = current_drives(false)[std::toupper(c) - 'A'];
    if (drive.root.empty()) return DriveType::no_root_dir;
    struct stat st{};
    if (::stat(drive.root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return DriveType::no_root_dir;
    return drive.type;
}

int32_t read_unbuffered(const char* path, int32_t offset, void* buffer, uint32_t length) {
    if (offset < 0) return -1;
    // O_DIRECT keeps the page cache out of the way; file systems that refuse
    // it get their cached pages dropped instead, so the device still answers.
    int fd = open_path(path, O_RDONLY | O_DIRECT);
    if (fd < 0 && errno == EINVAL) {
        fd = open_path(path, O_RDONLY);
        if (fd >= 0) ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    }
    if (fd < 0) return -1;
    const int64_t n = read_fully(fd, buffer, length, offset, true);
    ::close(fd);
    return n < 0 ? -1 : static_cast<int32_t>(n);
}

int32_t write_command_file(const char* path, const void* data, uint32_t length) {
    const int fd = open_path(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) return 0;
    // The device acts on what reaches it: the write is pushed out of the
    // page cache before the send counts as done.
    int64_t n = write_fully(fd, data, length);
    if (n >= 0 && ::fsync(fd) != 0 && errno != EINVAL) n = -1;
    if (::close(fd) != 0 && n >= 0) n = -1;
    return static_cast<int32_t>(n);
}

int32_t read_host_file(const char* path, int32_t offset, void* buffer, uint32_t length,
                       Sharing /*sharing*/) {
    const int fd = open_path(path, O_RDONLY);
    if (fd < 0) return -1;
    // A folder opens here but not on Windows: it is no file to read.
    struct stat st{};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    // A seek that fails leaves the position at the start, as on Windows.
    if (offset > 0 && ::lseek(fd, offset, SEEK_SET) < 0) ::lseek(fd, 0, SEEK_SET);
    const int64_t n = read_fully(fd, buffer, length, 0, false);
    ::close(fd);
    return n < 0 ? 0 : static_cast<int32_t>(n);
}

int32_t create_host_file(const char* path, const void* data, uint32_t length) {
    const int fd = open_path(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) return 0;
    int64_t n = write_fully(fd, data, length);
    // A write that failed part-way leaves nothing behind in the file it
    // reached, whatever name led there: removing the name afterwards only
    // removes a link when the name is one, and the file behind it would keep
    // the partial data and the space it holds.
    struct stat st{};
    if (n < 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) (void)::ftruncate(fd, 0);
    if (::close(fd) != 0) n = -1;
    return static_cast<int32_t>(n);
}

int32_t append_host_file(const char* path, const void* data, uint32_t length) {
    const int fd = open_path(path, O_RDWR | O_CREAT | O_APPEND, 0666);
    if (fd < 0) return -1;
    int64_t n = write_fully(fd, data, length);
    if (::close(fd) != 0) n = -1;
    return n < 0 ? 0 : static_cast<int32_t>(n);
}

bool path_exists(const char* path) {
    std::string resolved;
    struct stat st{};
    return host_path(path, resolved) && ::stat(resolved.c_str(), &st) == 0;
}

bool make_directory(const char* path) {
    std::string resolved;
    return host_path(path, resolved) && ::mkdir(resolved.c_str(), 0777) == 0;
}

bool delete_file(const char* path) {
    // Files and links only, as on Windows: a device node such as /dev/full
    // is never removed, whoever runs the program.
    std::string resolved;
    struct stat st{};
    if (!host_path(path, resolved) || ::lstat(resolved.c_str(), &st) != 0) return false;
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) return false;
    return ::unlink(resolved.c_str()) == 0;
}

uint32_t milliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                                 static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

void sleep_milliseconds(uint32_t ms) {
    timespec left{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (::nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

std::string program_directory() {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return ".";
        if (static_cast<size_t>(n) < buffer.size()) {
            std::string path(buffer.data(), static_cast<size_t>(n));
            const size_t slash = path.find_last_of('/');
            if (slash == std::string::npos) return ".";
            return slash == 0 ? "/" : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool console_is_utf8() {
    static const bool utf8 = [] {
        // Ask the user's locale for its character set, then put the C locale
        // back: nothing else the program prints follows the locale.
        const char* previous = std::setlocale(LC_CTYPE, nullptr);
        const std::string saved = previous ? previous : "C";
        bool result = false;
        if (std::setlocale(LC_CTYPE, "") != nullptr) {
            const char* codeset = nl_langinfo(CODESET);
            result = codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0;
        }
        std::setlocale(LC_CTYPE, saved.c_str());
        return result;
    }();
    return utf8;
}

}  // namespace platform
