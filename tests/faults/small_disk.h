#pragma once
// A file system of a few KiB (tmpfs), so a save can run out of room without
// filling the machine's disk. Mounting needs the right to mount; without it
// ok() is false and reason() says why.

#include <string>

#include "temp_dir.h"

namespace faults {

class SmallDisk {
public:
    explicit SmallDisk(const std::string& size);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool ok() const { return mounted_; }
    const std::string& reason() const { return reason_; }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Free bytes left, per statvfs.
    unsigned long long free_bytes() const;

private:
    TempDir dir_;
    std::string path_;
    bool mounted_ = false;
    std::string reason_;
};

}  // namespace faults
