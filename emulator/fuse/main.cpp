// caldrin-devsim: a dumper device in software, mounted as a FUSE file system.
// Everything the command line can get wrong is checked before the mount, so
// a bad invocation leaves nothing mounted and says why in one line.

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/mountpoint.h"
#include "cli/options.h"
#include "device/device.h"
#include "device/drive_files.h"
#include "fuse/fuse_ops.h"
#include "model/load_cartridge.h"

namespace {

constexpr const char kName[] = "caldrin-devsim";

int fail(const std::string& why, int status = 1) {
    std::fprintf(stderr, "%s: %s\n", kName, why.c_str());
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace devsim;

    Options options;
    const std::string bad = parse_options(std::vector<std::string>(argv + 1, argv + argc), options);
    if (!bad.empty()) return fail(bad, 2);
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("%s %s\n", kName, CALDRIN_VERSION);
        return 0;
    }

    CartridgeChoice choice;
    choice.family = options.model;
    choice.prg_ram = options.prg_ram;
    std::string error;
    std::unique_ptr<CartridgeModel> model = load_cartridge(options.cart, choice, error);
    if (!model) return fail(error);

    if (const std::string why = check_mountpoint(options.mountpoint); !why.empty()) return fail(why);
    if (::access("/dev/fuse", R_OK | W_OK) != 0)
        return fail(std::string("/dev/fuse: ") + std::strerror(errno) + " (FUSE is not available here)");

    std::FILE* log = nullptr;
    if (!options.log.empty()) {
        log = std::fopen(options.log.c_str(), "a");
        if (log == nullptr) return fail(options.log + ": " + std::strerror(errno));
        std::setvbuf(log, nullptr, _IOFBF, 1 << 16);
    }

    DriveConfig config;
    config.record = default_record(model->family());
    if (options.record) {
        config.record.fill(0);
        std::memcpy(config.record.data(), options.record->data(), options.record->size());
    }
    config.faults.read_only = options.read_only;
    config.faults.fail_reads = options.fail_reads;
    config.faults.eject_after = options.eject_after;

    const std::string description = model->describe();
    Device device(std::move(model), log);
    DriveFiles files(device, config);

    std::vector<std::string> fuse_argv = {kName, "-o", "fsname=caldrin-devsim,subtype=caldrin-devsim"};
    if (options.debug) fuse_argv.push_back("-d");
    for (const std::string& o : options.fuse_options) {
        fuse_argv.push_back("-o");
        fuse_argv.push_back(o);
    }
    std::vector<char*> raw;
    for (std::string& a : fuse_argv) raw.push_back(a.data());
    fuse_args args = FUSE_ARGS_INIT(static_cast<int>(raw.size()), raw.data());

    fuse* fs = fuse_new(&args, &drive_operations(), sizeof(fuse_operations), &files);
    if (fs == nullptr) {
        if (log) std::fclose(log);
        return fail("FUSE refused the mount options");
    }
    if (fuse_mount(fs, options.mountpoint.c_str()) != 0) {
        fuse_destroy(fs);
        if (log) std::fclose(log);
        return fail(options.mountpoint + ": mount failed");
    }
    fuse_session* session = fuse_get_session(fs);
    int status = 1;
    if (fuse_set_signal_handlers(session) == 0) {
        if (options.foreground)
            std::fprintf(stderr, "%s: %s mounted at %s\n", kName, description.c_str(), options.mountpoint.c_str());
        // The parent returns only now, with the mount in place.
        if (fuse_daemonize(options.foreground ? 1 : 0) == 0) status = fuse_loop(fs) == 0 ? 0 : 1;
        fuse_remove_signal_handlers(session);
    }
    fuse_unmount(fs);
    fuse_destroy(fs);
    fuse_opt_free_args(&args);
    if (log) std::fclose(log);
    return status;
}
