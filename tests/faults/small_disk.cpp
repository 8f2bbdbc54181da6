#include "small_disk.h"

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <cstring>

namespace faults {

SmallDisk::SmallDisk(const std::string& size) : path_(dir_.path() + "/disk") {
    ::mkdir(path_.c_str(), 0755);
    const std::string options = "size=" + size + ",mode=0755";
    if (::mount("tmpfs", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
        reason_ = std::string("mounting a tmpfs of ") + size + " failed: " + std::strerror(errno) +
                  " (needs root or CAP_SYS_ADMIN)";
        return;
    }
    mounted_ = true;
}

SmallDisk::~SmallDisk() {
    // Detached, so a file still open somewhere cannot keep the folder from
    // being removed with the test's other files.
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
}

unsigned long long SmallDisk::free_bytes() const {
    struct statvfs st{};
    if (::statvfs(path_.c_str(), &st) != 0) return 0;
    return static_cast<unsigned long long>(st.f_bavail) * st.f_frsize;
}

}  // namespace faults
