#include "wine_prefix.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>

#include "files.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

// The drive types of the tests, as Wine's registry spells them.
std::string wine_drive_type(const std::string& type) {
    static const std::map<std::string, std::string> kTypes = {
        {"removable", "floppy"}, {"fixed", "hd"},        {"cdrom", "cdrom"},
        {"remote", "network"},   {"ramdisk", "ramdisk"},
    };
    const auto it = kTypes.find(type);
    if (it == kTypes.end()) throw std::runtime_error("no Wine drive type for \"" + type + "\"");
    return it->second;
}

char drive_letter(char letter) {
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    if (lower < 'a' || lower > 'z') throw std::runtime_error(std::string("bad drive letter ") + letter);
    // Wine's own: the Windows folder lives on C:, and Z: reaches the host's
    // files, the test folders among them.
    if (lower == 'c' || lower == 'z')
        throw std::runtime_error(std::string("drive ") + letter +
                                 ": belongs to Wine itself; give the test drive another letter");
    return lower;
}

// Letter and Wine type of every drive the prefix has been given, as saved
// beside it.
std::map<char, std::string> read_registered(const std::string& file) {
    std::map<char, std::string> registered;
    std::ifstream in(file);
    char letter;
    std::string type;
    while (in >> letter >> type) registered[letter] = type;
    return registered;
}

void write_registered(const std::string& file, const std::map<char, std::string>& registered) {
    std::string text;
    for (const auto& [letter, type] : registered) text += std::string(1, letter) + " " + type + "\n";
    write_file(file, text);
}

// Replaces the link in one step, so no Wine process ever finds it missing.
void point_link(const fs::path& link, const fs::path& target) {
    const fs::path temporary = link.string() + ".new";
    fs::remove(temporary);
    fs::create_symlink(target, temporary);
    fs::rename(temporary, link);
}

}  // namespace

WinePrefix::WinePrefix(std::string path) : path_(std::move(path)) {
    environment_ = {
        {"WINEPREFIX", path_},
        {"WINEARCH", "win32"},
        {"WINEDEBUG", "-all"},
        // Neither the .NET nor the HTML engine is wanted, nor asked for.
        {"WINEDLLOVERRIDES", "mscoree,mshtml="},
        {"LC_ALL", "C"},
    };
    // No window system: the program is a console program, and nothing of Wine
    // should open a window.
    unset_ = {"DISPLAY", "WAYLAND_DISPLAY"};
}

WinePrefix::~WinePrefix() { release(); }

void WinePrefix::acquire(const std::vector<DriveFolder>& drives) {
    if (lock_fd_ < 0) {
        fs::create_directories(fs::path(path_).parent_path());
        lock_fd_ = ::open((path_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (lock_fd_ < 0) throw std::runtime_error("cannot open the lock of " + path_);
        while (::flock(lock_fd_, LOCK_EX) != 0) {
            if (errno != EINTR) throw std::runtime_error("cannot lock " + path_);
        }
    }
    create_if_missing();
    point_drives(drives);
    // Kept alive between the test processes, so each run finds Wine started;
    // it ends by itself once the tests are over. A new one gets its system
    // processes started here: started by the program's run, they would hold
    // its output pipes open for as long as the wineserver lives.
    if (run_quietly({"wineserver", "-p30"}) == 0) run_quietly({"wine", "wineboot"});
}

void WinePrefix::release() {
    if (lock_fd_ >= 0) {
        ::close(lock_fd_);
        lock_fd_ = -1;
    }
}

void WinePrefix::create_if_missing() {
    const std::string ready = path_ + "/caldrin-ready";
    if (file_exists(ready)) return;
    run_quietly({"wineserver", "-k"});
    fs::remove_all(path_);
    if (run_quietly({"wineboot", "-i"}) != 0) throw std::runtime_error("wineboot failed for " + path_);
    run_quietly({"wineserver", "-w"});
    write_file(ready, "");
}

void WinePrefix::point_drives(const std::vector<DriveFolder>& drives) {
    const std::string registered_file = path_ + "/caldrin-drives";
    std::map<char, std::string> registered = read_registered(registered_file);
    std::map<char, std::string> wanted;
    bool changed = false;
    for (const DriveFolder& drive : drives) {
        const char letter = drive_letter(drive.letter);
        const std::string type = wine_drive_type(drive.type);
        if (wanted.count(letter)) throw std::runtime_error(std::string("drive ") + drive.letter + ": given twice");
        wanted[letter] = drive.path;
        if (registered[letter] != type) {
            registered[letter] = type;
            changed = true;
        }
    }

    const fs::path devices = fs::path(path_) / "dosdevices";
    for (const auto& [letter, type] : registered) {
        const auto it = wanted.find(letter);
        const fs::path target = it != wanted.end() ? fs::path(it->second) : fs::path(path_) / "no-medium";
        point_link(devices / (std::string(1, letter) + ":"), target);
    }
    if (!changed) return;

    std::string reg = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\n";
    for (const auto& [letter, type] : registered) reg += "\"" + std::string(1, letter) + ":\"=\"" + type + "\"\n";
    const std::string reg_file = path_ + "/caldrin-drives.reg";
    write_file(reg_file, reg);
    if (run_quietly({"wine", "reg", "import", reg_file}) != 0)
        throw std::runtime_error("cannot set the drive types of " + path_);
    write_registered(registered_file, registered);
    restart_server();
}

void WinePrefix::restart_server() {
    // The wineserver saves the registry as it goes; the next Wine process
    // starts a new one, whose device manager reads the drives afresh.
    run_quietly({"wineserver", "-k"});
    run_quietly({"wineserver", "-w"});
}

int WinePrefix::run_quietly(const std::vector<std::string>& argv) const {
    std::vector<std::string> env_text;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool dropped = environment_.count(name) > 0;
        for (const std::string& u : unset_) dropped = dropped || u == name;
        if (!dropped) env_text.push_back(entry);
    }
    for (const auto& [name, value] : environment_) env_text.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& e : env_text) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = argv;
    std::vector<char*> argp;
    for (std::string& a : args) argp.push_back(a.data());
    argp.push_back(nullptr);

    // Wine's daemons may outlive the call: they get no pipe to hold open.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
