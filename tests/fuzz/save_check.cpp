#include "save_check.h"

#include <sys/stat.h>

#include <cstdlib>

#include "fuzz_check.h"
#include "fuzz_sandbox.h"
#include "reference_crcs.h"

namespace {

// Only a regular file can hold a save; a folder named as the file (the
// drive's root, say) counts as no file.
std::optional<std::string> content_of(const std::string& path) {
    struct stat st{};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return read_whole_file(path);
}

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

}  // namespace

SaveSnapshot take_save_snapshot(const std::string& path, const std::string& image_path, int32_t address) {
    SaveSnapshot s;
    s.path = path;
    s.before = content_of(path);
    s.image = content_of(image_path).value_or(std::string());
    s.address = address;
    return s;
}

void check_save(const SaveSnapshot& s, const std::string& output) {
    const std::optional<std::string> after = content_of(s.path);
    const size_t reported = output.rfind("write ");
    if (reported != std::string::npos && contains(output, "bytes to file(")) {
        char* end = nullptr;
        const unsigned long count = std::strtoul(output.c_str() + reported + 6, &end, 16);
        require(end != nullptr && std::string(end, 5) == "(crc:", "a save line gives its count and CRC");
        const unsigned long crc = std::strtoul(end + 5, nullptr, 16);
        if (count == 0) {
            // An empty save, or a file that could not be made: either way
            // nothing the file held before is presented as the dump.
            require(crc == 0, "an empty save has CRC 0");
            require(after == s.before || after == std::string(), "an empty save leaves an empty file or none");
            return;
        }
        require(after.has_value(), "a reported save exists");
        require(after->size() == count, "a reported save holds the count it reports");
        require(crc == crc32_bitwise(reinterpret_cast<const uint8_t*>(after->data()), after->size()),
                "a reported save holds the CRC it reports");
        require(s.address >= 0 && static_cast<size_t>(s.address) + count <= s.image.size() &&
                    *after == s.image.substr(static_cast<size_t>(s.address), count),
                "a reported save holds the image's bytes from the address");
        return;
    }
    if (contains(output, "dump error,write file(")) {
        require(!after.has_value(), "a failed save leaves no partial file");
        return;
    }
    require(contains(output, "dump error,") || contains(output, "please init device first"),
            "a save line reports its result");
    require(after == s.before, "a refused save leaves the file as it was");
}
