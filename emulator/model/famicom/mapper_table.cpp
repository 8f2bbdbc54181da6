#include "model/famicom/mapper.h"

namespace devsim {

const std::vector<MapperInfo>& mapper_table() {
    static const std::vector<MapperInfo> table = {
        {0, "NROM", false, make_nrom},
        {1, "MMC1", false, make_mmc1},
        {2, "UxROM", true, make_uxrom},
        {3, "CNROM", true, make_cnrom},
        {4, "MMC3", false, make_mmc3},
        {7, "AxROM", true, make_axrom},
    };
    return table;
}

const MapperInfo* find_mapper(uint16_t number) {
    for (const MapperInfo& info : mapper_table())
        if (info.number == number) return &info;
    return nullptr;
}

}  // namespace devsim
