#pragma once
// The command line of caldrin-devsim:
//   caldrin-devsim [options] CART MOUNTPOINT

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/cartridge_model.h"

namespace devsim {

struct Options {
    std::string cart;
    std::string mountpoint;
    bool foreground = false;
    bool debug = false;  // libfuse's request trace, implies foreground
    std::optional<Family> model;
    std::optional<std::string> record;  // at most 16 bytes
    bool prg_ram = false;
    bool read_only = false;
    bool fail_reads = false;
    std::optional<uint64_t> eject_after;
    std::string log;
    std::vector<std::string> fuse_options;  // -o, passed on to libfuse
    bool help = false;
    bool version = false;
};

// Parses argv[1..]. Returns an empty text on success, else one line saying
// what is wrong.
std::string parse_options(const std::vector<std::string>& args, Options& options);

extern const char kUsage[];

}  // namespace devsim
