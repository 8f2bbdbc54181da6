#pragma once
// Integers cross the script boundary as signed 32-bit values on every build,
// whatever width the engine's own integer type has.

#include <cstdint>

#include <lua.hpp>

// Argument arg as a signed 32-bit integer: the nearest integer, an exact half
// going to the even neighbour; a value outside the signed 32-bit range, NaN
// among them, becomes INT32_MIN. A missing or non-numeric argument raises the
// engine's own argument error.
int32_t check_script_integer(lua_State* L, int arg);

// The rounding rule of check_script_integer on a plain number.
int32_t script_integer_from_number(lua_Number value);

void push_script_integer(lua_State* L, int32_t value);
