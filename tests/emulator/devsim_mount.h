#pragma once
// The emulator mounted for one test: started in the foreground as a child
// process, so the test owns it; unmounted and stopped however the test ends.
// A watchdog kills the emulator if the test outlives its time, which turns a
// hung file operation into an error instead of a hung test run.

#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "temp_dir.h"

namespace devsim_test {

// Why mounting cannot work here, empty when it can. A test that needs the
// mount skips with this reason.
std::string fuse_unavailable_reason();

// Skips the test, loudly, where nothing can be mounted; what names the kind
// of test in the line.
#define REQUIRE_FUSE_FOR(what)                                                                 \
    do {                                                                                       \
        const std::string why = devsim_test::fuse_unavailable_reason();                        \
        if (!why.empty()) GTEST_SKIP() << "*** FUSE " what " NOT RUN: " << why << " ***";      \
    } while (0)

// The built emulator.
std::string devsim_program();

// Whether a FUSE file system is mounted at path, per /proc/self/mountinfo.
bool is_mounted(const std::string& path);

class DevsimMount {
public:
    // Writes image to the test folder as cart_name and mounts it with the
    // extra options. ok() says whether the mount came up.
    DevsimMount(const std::vector<uint8_t>& image, const std::string& cart_name,
                const std::vector<std::string>& options = {}, int watchdog_seconds = 120);
    ~DevsimMount();
    DevsimMount(const DevsimMount&) = delete;
    DevsimMount& operator=(const DevsimMount&) = delete;

    bool ok() const { return ok_; }
    // What went wrong starting it, with the emulator's own output.
    const std::string& error() const { return error_; }

    const std::string& mountpoint() const { return mountpoint_; }
    std::string file(const std::string& name) const { return mountpoint_ + "/" + name; }
    // A folder beside the mount for the test's own files.
    const std::string& work() const { return work_; }
    // What the emulator printed on its standard error.
    std::string emulator_output() const;

private:
    void stop();

    TempDir dir_;
    std::string mountpoint_;
    std::string work_;
    std::string output_path_;
    pid_t pid_ = -1;
    bool ok_ = false;
    std::string error_;

    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread watchdog_;
};

// Host-side file access the way the program does it.
// An unbuffered read (O_DIRECT into an aligned buffer); the bytes read, or
// empty with errno_out set on failure.
std::vector<uint8_t> read_direct(const std::string& path, uint64_t offset, size_t length, int* errno_out = nullptr);
// One send: create or empty the command file, one write of the whole run,
// fsync, close. Returns 0 or the errno of the step that failed. The run is
// written from an address 16 bytes past a page boundary, as a program's
// buffer may be, so the kernel's pieces do not fall on sector boundaries.
int send_run(const std::string& path, const std::vector<uint8_t>& run);

}  // namespace devsim_test
