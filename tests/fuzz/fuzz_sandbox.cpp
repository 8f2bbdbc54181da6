#include "fuzz_sandbox.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

FuzzSandbox::FuzzSandbox(const char* tag) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/caldrin-" + tag + "-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    path_ = name.data();
}

FuzzSandbox::~FuzzSandbox() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void FuzzSandbox::empty() const {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(path_, ignored))
        std::filesystem::remove_all(entry.path(), ignored);
}

void write_fixture(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::abort();
    }
}

std::string read_whole_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string identification_file(const char* record) {
    std::string content(0x8000, '\0');
    content.append(record, 16);
    content.resize(0x8000 + 512, '\0');
    return content;
}

void silence_standard_streams() {
    if (std::freopen("/dev/null", "w", stdout) == nullptr || std::freopen("/dev/null", "r", stdin) == nullptr) {
        std::perror("freopen /dev/null");
        std::abort();
    }
}
