// The program's folder, the clock and pausing, through the platform layer.

#include <string>

#include "platform.h"
#include "script_functions.h"
#include "script_integer.h"

namespace fd {

int program_folder(lua_State* L) {
    // Kept outside the frame: an engine error in the push unwinds without
    // running destructors.
    static std::string folder;
    folder = platform::program_directory();
    lua_pushlstring(L, folder.data(), folder.size());
    return 1;
}

int clock_milliseconds(lua_State* L) {
    // The count wraps at 2^32 and reads negative in its upper half.
    push_script_integer(L, static_cast<int32_t>(platform::milliseconds()));
    return 1;
}

int sleep(lua_State* L) {
    const int32_t ms = check_script_integer(L, 1);
    // A negative pause has already passed.
    if (ms > 0) platform::sleep_milliseconds(static_cast<uint32_t>(ms));
    return 0;
}

}  // namespace fd
