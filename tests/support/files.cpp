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

std::string hex(const std::string& data) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : data) {
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    }
    return out;
}
