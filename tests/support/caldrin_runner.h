#pragma once
// Runs the built program the way a user does: lines on standard input,
// drives made of temporary folders. One runner per platform build, so every
// table of cases runs against each program that was built.

#include <memory>
#include <string>
#include <vector>

#include "run_program.h"

struct DriveFolder {
    char letter;
    std::string path;
    std::string type = "removable";  // removable, fixed, cdrom, remote, ramdisk
};

class CaldrinRunner {
public:
    virtual ~CaldrinRunner() = default;
    virtual std::string name() const = 0;
    // Runs the program in cwd with the drives given and nothing else.
    virtual ProgramResult run(const std::vector<DriveFolder>& drives, const std::string& input,
                              const std::string& cwd) = 0;
    // Output brought to the Linux program's form (line ends), byte for byte
    // otherwise.
    virtual std::string normalise(const std::string& out) const { return out; }
};

// The Linux program, drives given through CALDRIN_DRIVES.
std::unique_ptr<CaldrinRunner> make_linux_runner(const std::string& program);

// The Windows program under Wine, where this machine has Wine (tests/windows).
void add_windows_runners(std::vector<std::shared_ptr<CaldrinRunner>>& runners);

// Every runner this build can use (the Linux program always; others where
// they were built and can run here).
std::vector<std::shared_ptr<CaldrinRunner>> available_runners();

// Replaces the build date in the help text with "DATE", so expected output
// does not depend on the day of the build.
std::string without_build_date(const std::string& out);

// The help text as printed, with "DATE" for the build date.
extern const char kHelpText[];
