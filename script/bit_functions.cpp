// 32-bit bit operations on signed values. The two shifts are shifts, not
// rotations: bits moved out are lost.

#include "script_functions.h"
#include "script_integer.h"

namespace {

using BitOperation = int32_t (*)(int32_t, int32_t);

int apply(lua_State* L, BitOperation operation) {
    const int32_t a = check_script_integer(L, 1);
    const int32_t b = check_script_integer(L, 2);
    push_script_integer(L, operation(a, b));
    return 1;
}

}  // namespace

namespace fd {

int bit_and(lua_State* L) {
    return apply(L, [](int32_t a, int32_t b) { return a & b; });
}

int bit_or(lua_State* L) {
    return apply(L, [](int32_t a, int32_t b) { return a | b; });
}

int bit_xor(lua_State* L) {
    return apply(L, [](int32_t a, int32_t b) { return a ^ b; });
}

int shift_left(lua_State* L) {
    // Only the count's low five bits count.
    return apply(L, [](int32_t value, int32_t count) {
        return static_cast<int32_t>(static_cast<uint32_t>(value) << (count & 31));
    });
}

int shift_right(lua_State* L) {
    // Copies of the sign bit come in from the left.
    return apply(L, [](int32_t value, int32_t count) {
        const int shift = count & 31;
        return value < 0 ? ~(~value >> shift) : value >> shift;
    });
}

}  // namespace fd
