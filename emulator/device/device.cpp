#include "device/device.h"

namespace devsim {

Device::Device(std::unique_ptr<CartridgeModel> model, std::FILE* log) : model_(std::move(model)), log_(log) {}

bool Device::handle_sector(const uint8_t* sector, uint64_t run, uint64_t index) {
    const SectorCheck check = check_sector(sector, model_->family());
    const bool ok = check.verdict == SectorVerdict::ok;
    if (ok) {
        const Command& c = check.command;
        if (c.kind == CommandKind::init) {
            model_->power_on(c.argument);
        } else {
            // A Famicom write command carries 16 address bits, a PC Engine one 24.
            const uint32_t mask = model_->family() == Family::famicom ? 0xFFFFu : 0xFFFFFFu;
            for (uint32_t i = 0; i < c.count; ++i) model_->write((c.address + i) & mask, c.data[i]);
        }
        ++carried_out_;
    } else {
        ++dropped_;
    }
    if (log_ != nullptr)
        std::fprintf(log_, "run %llu sector %llu: %s\n", static_cast<unsigned long long>(run),
                     static_cast<unsigned long long>(index), describe_sector(check, sector).c_str());
    return ok;
}

void Device::drop_incomplete(uint64_t run, uint64_t index, uint32_t present) {
    ++dropped_;
    if (log_ != nullptr)
        std::fprintf(log_, "run %llu sector %llu: dropped: incomplete (%u of 512 bytes written)\n",
                     static_cast<unsigned long long>(run), static_cast<unsigned long long>(index), present);
}

void Device::flush_log() {
    if (log_ != nullptr) std::fflush(log_);
}

}  // namespace devsim
