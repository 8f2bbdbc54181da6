#include "script_integer.h"

#include <cmath>

int32_t script_integer_from_number(lua_Number value) {
    // Written out rather than left to the current rounding mode, so every
    // build rounds the same way.
    double rounded = std::floor(value);
    const double fraction = value - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0)) rounded += 1.0;
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return INT32_MIN;
    return static_cast<int32_t>(rounded);
}

int32_t check_script_integer(lua_State* L, int arg) {
    return script_integer_from_number(luaL_checknumber(L, arg));
}

void push_script_integer(lua_State* L, int32_t value) {
    lua_pushinteger(L, static_cast<lua_Integer>(value));
}
