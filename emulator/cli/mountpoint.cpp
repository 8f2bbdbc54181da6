#include "cli/mountpoint.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace devsim {

std::string check_mountpoint(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int error = errno;
        std::string why = path + ": " + std::strerror(error);
        if (error == ENOTCONN) why += " (a mount whose file system has ended: fusermount3 -u it first)";
        return why;
    }
    if (!S_ISDIR(st.st_mode)) return path + ": not a folder";
    DIR* dir = ::opendir(path.c_str());
    if (dir == nullptr) return path + ": " + std::strerror(errno);
    bool empty = true;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            empty = false;
            break;
        }
    }
    ::closedir(dir);
    if (!empty) return path + ": the mount point must be an empty folder";
    return {};
}

}  // namespace devsim
