#pragma once
// What one cartridge looks like from the dumper's side: an address space the
// device reads byte by byte and a port that memory-write commands reach.
// Pure C++ with no file-system code, so every board can be tested in-process.

#include <cstdint>
#include <memory>
#include <string>

namespace devsim {

// The value an address nobody drives reads as.
constexpr uint8_t kOpenBus = 0xFF;

enum class Family {
    famicom,    // family byte 0x0E, 16-bit write addresses
    pc_engine,  // family byte 0x11, 24-bit write addresses
};

uint8_t family_byte(Family family);
const char* family_name(Family family);  // "famicom", "pc-engine"

class CartridgeModel {
public:
    virtual ~CartridgeModel() = default;

    virtual Family family() const = 0;

    // Bytes of the device's memory image: reads end here.
    virtual uint32_t address_space_size() const = 0;

    // count bytes from address on, as the cartridge answers right now.
    // address + count never exceeds address_space_size().
    virtual void read(uint32_t address, uint8_t* out, uint32_t count) const = 0;

    // One memory write as the device carries it out on the cartridge bus.
    // The address holds only the bits the family's write command carries.
    virtual void write(uint32_t address, uint8_t value) = 0;

    // The init command: back to the power-on state. Memory contents stay.
    virtual void power_on(uint8_t argument) = 0;

    // One line for people: board, sizes, memories.
    virtual std::string describe() const = 0;
};

}  // namespace devsim
