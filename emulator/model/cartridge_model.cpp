#include "model/cartridge_model.h"

namespace devsim {

uint8_t family_byte(Family family) { return family == Family::famicom ? 0x0E : 0x11; }

const char* family_name(Family family) { return family == Family::famicom ? "famicom" : "pc-engine"; }

}  // namespace devsim
