#pragma once
// The dumper's firmware: carries out checked command sectors on the
// cartridge, and keeps the optional log of every sector it was given.

#include <cstdint>
#include <cstdio>
#include <memory>

#include "device/command_sector.h"
#include "model/cartridge_model.h"

namespace devsim {

class Device {
public:
    // log may be null; when given, one line per sector is appended to it.
    Device(std::unique_ptr<CartridgeModel> model, std::FILE* log);

    CartridgeModel& model() { return *model_; }
    const CartridgeModel& model() const { return *model_; }

    // Checks one whole sector and carries it out when it passes. run and
    // index only label the log line (which send, which sector of it).
    // Returns whether the sector was carried out.
    bool handle_sector(const uint8_t* sector, uint64_t run, uint64_t index);

    // A sector that never arrived whole: present of its 512 bytes were written.
    void drop_incomplete(uint64_t run, uint64_t index, uint32_t present);

    // Pushes log lines out; called once per file write, not per sector.
    void flush_log();

    uint64_t sectors_carried_out() const { return carried_out_; }
    uint64_t sectors_dropped() const { return dropped_; }

private:
    std::unique_ptr<CartridgeModel> model_;
    std::FILE* log_;
    uint64_t carried_out_ = 0;
    uint64_t dropped_ = 0;
};

}  // namespace devsim
