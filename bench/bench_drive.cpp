#include "bench_drive.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "device_link.h"

namespace {

std::string make_folder() {
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/caldrin-bench-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return name.data();
}

void write_identification(const std::string& folder) {
    std::string content(0x8000 + 512, '\0');
    content.replace(0x8000, 16, "NV4_PCB02_FW0102");
    std::ofstream(folder + "/Q-DRIVER.DMP", std::ios::binary) << content;
}

// select_device announces itself on stdout; keep that out of the report.
int select_quietly(char letter) {
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    const int result = select_device(letter);
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(null);
    close(saved);
    return result;
}

struct Drive {
    Drive() : folder(make_folder()) {
        write_identification(folder);
        setenv("CALDRIN_DRIVES", ("E=" + folder).c_str(), 1);
        if (select_quietly('E') != 1) throw std::runtime_error("bench drive not selected");
    }
    ~Drive() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string folder;
};

}  // namespace

const std::string& bench_drive_folder() {
    static const Drive drive;
    return drive.folder;
}
