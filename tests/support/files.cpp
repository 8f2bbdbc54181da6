#include "files.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool file_exists(const std::string& path) {
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0;
}

void write_file(const std::string& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

namespace {

std::string hex_with(const std::string& data, const char* digits) {
    std::string out;
    for (unsigned char c : data) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

}  // namespace

std::string hex(const std::string& data) { return hex_with(data, "0123456789abcdef"); }

std::string upper_hex(const std::string& data) { return hex_with(data, "0123456789ABCDEF"); }
