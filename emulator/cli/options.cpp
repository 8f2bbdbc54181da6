#include "cli/options.h"

#include <cerrno>
#include <cstdlib>

namespace devsim {

const char kUsage[] =
    "usage: caldrin-devsim [options] CART MOUNTPOINT\n"
    "\n"
    "Mounts a software dumper device at MOUNTPOINT (an empty folder) serving\n"
    "the cartridge image CART: an iNES .nes file (Famicom family) or a .pce\n"
    "HuCard image (PC Engine family). Unmount with: fusermount3 -u MOUNTPOINT\n"
    "\n"
    "options:\n"
    "  -f, --foreground     stay in the foreground instead of detaching\n"
    "  -d, --debug          trace every file-system request (implies -f)\n"
    "  --model MODEL        famicom or pc-engine, whatever CART is called\n"
    "  --record TEXT        identification record (at most 16 bytes) instead of\n"
    "                       NV4_PCB02_FWV1.0 / HX8_PCB02_FWV1.0\n"
    "  --prg-ram            8 KiB of PRG RAM at 0x6000 even without the battery bit\n"
    "  --read-only          the command file cannot be created or written\n"
    "  --fail-reads         reads of DUMP.ROM fail with an I/O error\n"
    "  --eject-after N      after N reads of DUMP.ROM every file fails (no medium)\n"
    "  --log FILE           append one line per command sector carried out or dropped\n"
    "  -o OPTIONS           mount options passed to FUSE (e.g. allow_other)\n"
    "  -h, --help           this text\n"
    "  -V, --version        the version\n";

namespace {

bool parse_count(const std::string& text, uint64_t& value) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long n = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') return false;
    value = n;
    return true;
}

}  // namespace

std::string parse_options(const std::vector<std::string>& args, Options& options) {
    options = Options{};
    std::vector<std::string> positional;
    bool options_done = false;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (options_done || arg.empty() || arg[0] != '-' || arg == "-") {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options_done = true;
            continue;
        }
        // "--name=value" and "--name value" both work for options with a value.
        std::string value;
        bool has_inline_value = false;
        if (arg.rfind("--", 0) == 0) {
            const size_t eq = arg.find('=');
            if (eq != std::string::npos) {
                value = arg.substr(eq + 1);
                arg = arg.substr(0, eq);
                has_inline_value = true;
            }
        }
        auto take_value = [&](std::string& out) -> std::string {
            if (has_inline_value) {
                out = value;
                return {};
            }
            if (i + 1 >= args.size()) return arg + " needs a value";
            out = args[++i];
            return {};
        };
        auto no_value = [&]() -> std::string {
            return has_inline_value ? arg + " takes no value" : std::string{};
        };
        std::string why;
        if (arg == "-f" || arg == "--foreground") {
            why = no_value();
            options.foreground = true;
        } else if (arg == "-d" || arg == "--debug") {
            why = no_value();
            options.debug = true;
            options.foreground = true;
        } else if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (arg == "-V" || arg == "--version") {
            options.version = true;
        } else if (arg == "--prg-ram") {
            why = no_value();
            options.prg_ram = true;
        } else if (arg == "--read-only") {
            why = no_value();
            options.read_only = true;
        } else if (arg == "--fail-reads") {
            why = no_value();
            options.fail_reads = true;
        } else if (arg == "--model") {
            std::string model;
            why = take_value(model);
            if (why.empty()) {
                if (model == "famicom" || model == "nes")
                    options.model = Family::famicom;
                else if (model == "pc-engine" || model == "pce")
                    options.model = Family::pc_engine;
                else
                    why = "--model must be famicom or pc-engine, not \"" + model + "\"";
            }
        } else if (arg == "--record") {
            std::string record;
            why = take_value(record);
            if (why.empty() && record.size() > 16)
                why = "--record takes at most 16 bytes (\"" + record + "\" has " + std::to_string(record.size()) + ")";
            if (why.empty()) options.record = record;
        } else if (arg == "--eject-after") {
            std::string count;
            uint64_t n = 0;
            why = take_value(count);
            if (why.empty() && !parse_count(count, n))
                why = "--eject-after needs a count of reads, not \"" + count + "\"";
            if (why.empty()) options.eject_after = n;
        } else if (arg == "--log") {
            why = take_value(options.log);
            if (why.empty() && options.log.empty()) why = "--log needs a file name";
        } else if (arg == "-o") {
            std::string o;
            why = take_value(o);
            if (why.empty()) options.fuse_options.push_back(o);
        } else if (arg.rfind("-o", 0) == 0 && arg.size() > 2 && arg[1] == 'o') {
            options.fuse_options.push_back(arg.substr(2));
        } else {
            why = "unknown option " + arg + " (see --help)";
        }
        if (!why.empty()) return why;
    }
    if (options.help || options.version) return {};
    if (positional.size() != 2)
        return positional.size() < 2 ? "give a cartridge image and a mount point (see --help)"
                                     : "too many arguments: \"" + positional[2] + "\" (see --help)";
    options.cart = positional[0];
    options.mountpoint = positional[1];
    return {};
}

}  // namespace devsim
