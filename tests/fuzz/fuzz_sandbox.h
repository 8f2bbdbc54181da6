#pragma once
// A folder of temporary files for the fuzz targets that reach real files:
// everything they make stays inside it, and it is emptied between inputs.

#include <string>

class FuzzSandbox {
public:
    // Makes a fresh folder under TMPDIR (or /tmp) with the given subfolders.
    explicit FuzzSandbox(const char* tag);
    ~FuzzSandbox();
    FuzzSandbox(const FuzzSandbox&) = delete;
    FuzzSandbox& operator=(const FuzzSandbox&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    // Removes everything below the folder, leaving the folder itself.
    void empty() const;

private:
    std::string path_;
};

// Writes the whole file, or aborts: a fixture that cannot be made would turn
// every later input into a false finding.
void write_fixture(const std::string& path, const std::string& bytes);
std::string read_whole_file(const std::string& path);

// The identification file of a dumper drive, its record at 0x8000.
std::string identification_file(const char* record);

// Sends standard output (and input) to /dev/null, so a run prints only what
// the fuzzer itself reports.
void silence_standard_streams();
