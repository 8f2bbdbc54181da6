#pragma once
// The three files at the root of the dumper drive, with the faults that tests
// can switch on. Every call answers as a file system would: a result of 0 or
// more, or a negative errno. No file-system library is involved, so the
// whole protocol can be driven from unit tests.
//
//   Q-DRIVER.DMP  64 KiB; the 16-byte identification record at 0x8000
//   DUMP.ROM      byte k is the cartridge memory at address k, computed at
//                 read time
//   CMD.CMD       every whole 512-byte sector written is checked and carried
//                 out before the write returns; reading gives back the run
//                 written last

#include <array>
#include <bitset>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "device/device.h"

namespace devsim {

constexpr uint32_t kIdFileSize = 0x10000;
constexpr uint32_t kIdRecordOffset = 0x8000;
constexpr uint32_t kIdRecordSize = 16;
// The largest send the host makes is 65536 sectors; leave room above it.
constexpr uint64_t kCommandFileLimit = 64ull << 20;

enum class FileId { none, root, id_file, memory_image, command_file };

struct Faults {
    bool read_only = false;   // the command file cannot be created or written
    bool fail_reads = false;  // reads of DUMP.ROM fail with EIO
    // After this many reads of DUMP.ROM the medium is gone: every file fails.
    std::optional<uint64_t> eject_after;
};

struct DriveConfig {
    std::array<uint8_t, kIdRecordSize> record{};
    Faults faults;
};

// "NV4_PCB02_FW" or "HX8_PCB02_FW" followed by the firmware version.
std::array<uint8_t, kIdRecordSize> default_record(Family family);

class DriveFiles {
public:
    DriveFiles(Device& device, DriveConfig config);

    // "/DUMP.ROM" and the like; names match in any case. FileId::none for
    // anything else.
    static FileId file_of(const char* path);
    static const char* name_of(FileId file);
    static const std::array<FileId, 3>& files();

    int stat(FileId file, struct stat& st) const;
    int list(std::vector<std::string>& names) const;

    // flags as open(2) takes them. On success handle names the open file.
    int open(FileId file, int flags, uint64_t& handle);
    int64_t read(uint64_t handle, uint8_t* buffer, size_t size, uint64_t offset);
    int64_t write(uint64_t handle, const uint8_t* data, size_t size, uint64_t offset);
    int truncate(FileId file, uint64_t size);
    // The last close of an open file: sectors it left unfinished are dropped.
    int release(uint64_t handle);

    bool ejected() const { return ejected_; }
    uint64_t memory_reads() const { return memory_reads_; }
    uint64_t runs() const { return run_; }
    const std::vector<uint8_t>& command_file() const { return command_; }

private:
    struct PartialSector {
        std::array<uint8_t, kSectorSize> bytes{};
        std::bitset<kSectorSize> present;
    };
    struct OpenFile {
        FileId file = FileId::none;
        bool writable = false;
        // Sectors of CMD.CMD this open file has written only part of.
        std::map<uint64_t, PartialSector> partial;
    };

    int64_t read_memory_image(uint8_t* buffer, size_t size, uint64_t offset);
    void new_run();
    void drop_partials(OpenFile& open_file);

    Device& device_;
    DriveConfig config_;
    std::vector<uint8_t> id_file_;
    std::vector<uint8_t> command_;
    std::map<uint64_t, OpenFile> open_;
    uint64_t next_handle_ = 1;
    uint64_t run_ = 0;
    uint64_t memory_reads_ = 0;
    bool ejected_ = false;
    struct timespec mount_time_ {};
    struct timespec command_time_ {};
};

}  // namespace devsim
