#include "devsim_mount.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "run_program.h"
#include "test_images.h"

namespace devsim_test {

namespace {

using Clock = std::chrono::steady_clock;

bool program_on_path(const char* name) {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':'))
        if (!dir.empty() && ::access((dir + "/" + name).c_str(), X_OK) == 0) return true;
    return false;
}

// Waits up to timeout for the child to end; true when it has.
bool wait_for_exit(pid_t pid, std::chrono::milliseconds timeout, int* status = nullptr) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        int s = 0;
        const pid_t r = ::waitpid(pid, &s, WNOHANG);
        if (r == pid || (r < 0 && errno == ECHILD)) {
            if (status) *status = s;
            return true;
        }
        if (Clock::now() >= deadline) return false;
        ::usleep(10000);
    }
}

void unmount(const std::string& path, bool lazy) {
    std::vector<std::string> argv = {"fusermount3", "-u", "-q"};
    if (lazy) argv.push_back("-z");
    argv.push_back(path);
    run_program(argv, "", {}, {}, "", 10);
}

}  // namespace

std::string fuse_unavailable_reason() {
    if (::access("/dev/fuse", R_OK | W_OK) != 0)
        return std::string("/dev/fuse is not usable (") + std::strerror(errno) + ")";
    if (!program_on_path("fusermount3")) return "fusermount3 is not installed (Debian package fuse3)";
    if (::access(devsim_program().c_str(), X_OK) != 0) return devsim_program() + " is not built";
    return {};
}

std::string devsim_program() { return DEVSIM_PROGRAM; }

bool is_mounted(const std::string& path) {
    // The table writes blanks and the like in a path as octal escapes.
    std::string escaped;
    for (char c : path) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\\') {
            char code[8];
            std::snprintf(code, sizeof code, "\\%03o", static_cast<unsigned char>(c));
            escaped += code;
        } else {
            escaped += c;
        }
    }
    std::ifstream in("/proc/self/mountinfo");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string id, parent, device, root, mount_point;
        if (fields >> id >> parent >> device >> root >> mount_point && mount_point == escaped) return true;
    }
    return false;
}

DevsimMount::DevsimMount(const std::vector<uint8_t>& image, const std::string& cart_name,
                         const std::vector<std::string>& options, int watchdog_seconds) {
    char real[PATH_MAX];
    const std::string base = ::realpath(dir_.path().c_str(), real) ? real : dir_.path();
    mountpoint_ = base + "/mnt";
    work_ = base + "/work";
    output_path_ = base + "/devsim.err";
    ::mkdir(mountpoint_.c_str(), 0755);
    ::mkdir(work_.c_str(), 0755);
    const std::string cart = base + "/" + cart_name;
    write_bytes(cart, image);

    std::vector<std::string> argv = {devsim_program(), "-f"};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.push_back(cart);
    argv.push_back(mountpoint_);

    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ == 0) {
        // Should the test process die without its destructors (a crash, a
        // sanitizer stop), the emulator is told to unmount and end.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) ::_exit(1);
        const int out = ::open(output_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = ::open("/dev/null", O_RDONLY);
        ::dup2(null, 0);
        ::dup2(out, 1);
        ::dup2(out, 2);
        std::vector<char*> args;
        for (std::string& a : argv) args.push_back(a.data());
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    if (pid_ < 0) {
        error_ = "fork failed";
        return;
    }

    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!is_mounted(mountpoint_)) {
        int status = 0;
        if (wait_for_exit(pid_, std::chrono::milliseconds(0), &status)) {
            pid_ = -1;
            error_ = "caldrin-devsim exited before mounting: " + emulator_output();
            return;
        }
        if (Clock::now() >= deadline) {
            error_ = "caldrin-devsim did not mount within 10 s: " + emulator_output();
            stop();
            return;
        }
        ::usleep(5000);
    }
    ok_ = true;

    // Killing the emulator ends every request it left unanswered with an
    // error, so whatever the test is blocked in returns.
    watchdog_ = std::thread([this, watchdog_seconds] {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!done_.wait_for(lock, std::chrono::seconds(watchdog_seconds), [this] { return finished_; })) {
            std::fprintf(stderr, "*** caldrin-devsim at %s still running after %d s: killed by the watchdog ***\n",
                         mountpoint_.c_str(), watchdog_seconds);
            ::kill(pid_, SIGKILL);
        }
    });
}

std::string DevsimMount::emulator_output() const {
    std::ifstream in(output_path_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void DevsimMount::stop() {
    if (pid_ > 0) {
        unmount(mountpoint_, false);
        if (!wait_for_exit(pid_, std::chrono::seconds(5))) {
            ::kill(pid_, SIGTERM);
            if (!wait_for_exit(pid_, std::chrono::seconds(2))) {
                ::kill(pid_, SIGKILL);
                wait_for_exit(pid_, std::chrono::seconds(5));
            }
        }
        pid_ = -1;
    }
    // A mount whose process died is still in the table until unmounted.
    if (is_mounted(mountpoint_)) unmount(mountpoint_, true);
}

DevsimMount::~DevsimMount() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
    }
    done_.notify_all();
    if (watchdog_.joinable()) watchdog_.join();
    stop();
}

std::vector<uint8_t> read_direct(const std::string& path, uint64_t offset, size_t length, int* errno_out) {
    if (errno_out) *errno_out = 0;
    const size_t rounded = (length + 511) / 512 * 512;
    void* raw = nullptr;
    if (::posix_memalign(&raw, 4096, rounded == 0 ? 512 : rounded) != 0) return {};
    std::unique_ptr<void, decltype(&std::free)> buffer(raw, &std::free);
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECT);
    if (fd < 0) {
        if (errno_out) *errno_out = errno;
        return {};
    }
    const ssize_t n = ::pread(fd, raw, rounded, static_cast<off_t>(offset));
    const int saved = errno;
    ::close(fd);
    if (n < 0) {
        if (errno_out) *errno_out = saved;
        return {};
    }
    const auto* bytes = static_cast<const uint8_t*>(raw);
    return std::vector<uint8_t>(bytes, bytes + std::min<size_t>(static_cast<size_t>(n), length));
}

int send_run(const std::string& path, const std::vector<uint8_t>& run) {
    std::vector<uint8_t> storage(run.size() + 4096 + 16);
    uint8_t* at = storage.data();
    at += (4096 - reinterpret_cast<uintptr_t>(at) % 4096) % 4096 + 16;
    if (!run.empty()) std::memcpy(at, run.data(), run.size());

    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) return errno;
    int result = 0;
    const ssize_t n = ::write(fd, at, run.size());
    if (n < 0)
        result = errno;
    else if (static_cast<size_t>(n) != run.size())
        result = EIO;
    if (result == 0 && ::fsync(fd) != 0) result = errno;
    if (::close(fd) != 0 && result == 0) result = errno;
    return result;
}

}  // namespace devsim_test
