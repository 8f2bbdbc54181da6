#pragma once
// From a cartridge image file to the model the device serves.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/cartridge_model.h"

namespace devsim {

struct CartridgeChoice {
    // The family to build; unset: from the file name (.nes, .pce) or, failing
    // that, from the iNES signature.
    std::optional<Family> family;
    bool prg_ram = false;  // PRG RAM at 0x6000 whatever the iNES header says
};

// Builds the model from the bytes of an image; name is used for the family
// guess only. nullptr and a one-line error when the image is unusable.
std::unique_ptr<CartridgeModel> make_cartridge(const std::string& name, const std::vector<uint8_t>& bytes,
                                               const CartridgeChoice& choice, std::string& error);

// Reads the file and builds the model; the error names the file.
std::unique_ptr<CartridgeModel> load_cartridge(const std::string& path, const CartridgeChoice& choice,
                                               std::string& error);

}  // namespace devsim
