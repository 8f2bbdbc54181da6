#include "model/load_cartridge.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/famicom/famicom_cartridge.h"
#include "model/pc_engine/hucard.h"

namespace devsim {

namespace {

bool ends_with_nocase(const std::string& text, const char* suffix) {
    const size_t n = std::strlen(suffix);
    return text.size() >= n && strcasecmp(text.c_str() + text.size() - n, suffix) == 0;
}

}  // namespace

std::unique_ptr<CartridgeModel> make_cartridge(const std::string& name, const std::vector<uint8_t>& bytes,
                                               const CartridgeChoice& choice, std::string& error) {
    Family family;
    if (choice.family) {
        family = *choice.family;
    } else if (ends_with_nocase(name, ".nes")) {
        family = Family::famicom;
    } else if (ends_with_nocase(name, ".pce")) {
        family = Family::pc_engine;
    } else if (bytes.size() >= 4 && std::memcmp(bytes.data(), "NES\x1A", 4) == 0) {
        family = Family::famicom;
    } else {
        error = "cannot tell the cartridge family (name the image .nes or .pce, or give --model)";
        return nullptr;
    }

    if (family == Family::famicom) {
        InesImage image;
        error = parse_ines(bytes, image);
        if (!error.empty()) return nullptr;
        return make_famicom_cartridge(std::move(image), choice.prg_ram, error);
    }
    return make_hucard(bytes, error);
}

std::unique_ptr<CartridgeModel> load_cartridge(const std::string& path, const CartridgeChoice& choice,
                                               std::string& error) {
    std::vector<uint8_t> bytes;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        error = path + ": " + std::strerror(errno);
        if (fd >= 0) ::close(fd);
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        error = path + ": not a regular file";
        return nullptr;
    }
    bytes.resize(static_cast<size_t>(st.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    const int saved = errno;
    ::close(fd);
    if (done != bytes.size()) {
        error = path + ": read error: " + std::strerror(saved);
        return nullptr;
    }
    auto model = make_cartridge(path, bytes, choice, error);
    if (!model) error = path + ": " + error;
    return model;
}

}  // namespace devsim
