// Printing for scripts. Everything goes through C stdio on standard output,
// the stream the console and the engine's print use, so text comes out in
// call order.

#include <cstdio>
#include <cstring>

#include "build_info.h"
#include "script_functions.h"
#include "script_texts.h"

namespace fd {

int console_print(lua_State* L) {
    const char* text = luaL_checklstring(L, 1, nullptr);
    // The text is printed as a format with no values: "%%" gives one "%".
    // Any other directive would want a value that is not there, so it is
    // printed as it stands.
    const char* run = text;
    for (const char* p = text; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] == '%') {
            std::fwrite(run, 1, static_cast<size_t>(p + 1 - run), stdout);
            ++p;
            run = p + 1;
        }
    }
    std::fwrite(run, 1, std::strlen(run), stdout);
    return 0;
}

int version_info(lua_State*) {
    std::printf(console_form(version_text_format), build_timestamp());
    return 0;
}

}  // namespace fd
