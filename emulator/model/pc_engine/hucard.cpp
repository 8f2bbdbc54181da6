#include "model/pc_engine/hucard.h"

#include <algorithm>
#include <cstring>

namespace devsim {

namespace {

constexpr uint32_t kWindow = 0x2000;
constexpr uint32_t kCopierHeader = 512;
constexpr uint32_t k128K = 0x20000;
constexpr uint32_t k256K = 0x40000;
constexpr uint32_t k512K = 0x80000;
constexpr uint32_t k768K = 0xC0000;
constexpr uint32_t kSf2Size = 0x280000;
constexpr uint32_t kSf2Register = 0x1FF0;

bool is_power_of_two(size_t n) { return n != 0 && (n & (n - 1)) == 0; }

const char* layout_name(HuCardLayout layout) {
    switch (layout) {
        case HuCardLayout::repeat: return "repeated";
        case HuCardLayout::split_384k: return "split 256+128 KiB";
        case HuCardLayout::flat_768k: return "flat";
        case HuCardLayout::sf2: return "Street Fighter II mapper";
    }
    return "";
}

}  // namespace

HuCard::HuCard(std::vector<uint8_t> rom, HuCardLayout layout) : rom_(std::move(rom)), layout_(layout) {}

int64_t HuCard::rom_offset(uint32_t address) const {
    switch (layout_) {
        case HuCardLayout::repeat:
            return address % rom_.size();
        case HuCardLayout::split_384k:
            return address < k512K ? address % k256K : k256K + address % k128K;
        case HuCardLayout::flat_768k:
            return address < k768K ? static_cast<int64_t>(address) : -1;
        case HuCardLayout::sf2:
            return address < k512K ? static_cast<int64_t>(address)
                                   : k512K + static_cast<int64_t>(sf2_bank_) * k512K + (address - k512K);
    }
    return -1;
}

void HuCard::read(uint32_t address, uint8_t* out, uint32_t count) const {
    const uint32_t end = address + count;
    while (address < end) {
        const uint32_t chunk = std::min(end, (address / kWindow + 1) * kWindow) - address;
        const int64_t offset = rom_offset(address);
        if (offset < 0)
            std::memset(out, kOpenBus, chunk);
        else
            std::memcpy(out, rom_.data() + offset, chunk);
        out += chunk;
        address += chunk;
    }
}

void HuCard::write(uint32_t address, uint8_t) {
    // ROM ignores writes; the only register is the bank port of the large card.
    if (layout_ == HuCardLayout::sf2 && address >= kSf2Register && address <= kSf2Register + 3)
        sf2_bank_ = address - kSf2Register;
}

void HuCard::power_on(uint8_t) { sf2_bank_ = 0; }

std::string HuCard::describe() const {
    return "HuCard, " + std::to_string(rom_.size() / 1024) + " KiB, " + layout_name(layout_);
}

std::unique_ptr<HuCard> make_hucard(const std::vector<uint8_t>& file, std::string& error) {
    size_t skip = (file.size() % kWindow == kCopierHeader) ? kCopierHeader : 0;
    const size_t size = file.size() - skip;
    HuCardLayout layout;
    if (size == 0x60000)
        layout = HuCardLayout::split_384k;
    else if (size == k768K)
        layout = HuCardLayout::flat_768k;
    else if (size == kSf2Size)
        layout = HuCardLayout::sf2;
    else if (is_power_of_two(size) && size >= kWindow && size <= kHuCardSpace)
        layout = HuCardLayout::repeat;
    else {
        error = "a HuCard image of " + std::to_string(size) +
                " bytes is no known card size (256, 384, 512, 768, 1024 or 2560 KiB, or a smaller power of two)";
        return nullptr;
    }
    std::vector<uint8_t> rom(file.begin() + static_cast<std::ptrdiff_t>(skip), file.end());
    return std::make_unique<HuCard>(std::move(rom), layout);
}

}  // namespace devsim
