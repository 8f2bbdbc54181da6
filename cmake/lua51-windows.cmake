# Lua 5.1 for the Windows program, built from Debian's lua5.1 source package
# (upstream 5.1.5 with Debian's fixes) as a static library. The engine's own
# configuration for Windows applies unchanged: _WIN32 selects LUA_WIN, so C
# modules load as DLLs and package.path and package.cpath default to the
# current folder and the program's folder ("!") and its lua folder.
#
# The source package is fetched once and kept unpacked in the build tree, so
# later configures and builds need no network.
#
# Provides the target lua51::lua51 (headers lua.h, lauxlib.h, lualib.h,
# luaconf.h and lua.hpp).

set(CALDRIN_LUA51_ROOT ${CMAKE_BINARY_DIR}/_deps/lua5.1)
set(CALDRIN_LUA51_SOURCE ${CALDRIN_LUA51_ROOT}/source)

if(NOT EXISTS ${CALDRIN_LUA51_SOURCE}/src/lua.h)
    file(GLOB _lua51_dsc ${CALDRIN_LUA51_ROOT}/download/lua5.1_*.dsc)
    if(NOT _lua51_dsc)
        message(STATUS "Fetching Debian's lua5.1 source package")
        file(MAKE_DIRECTORY ${CALDRIN_LUA51_ROOT})
        execute_process(
            COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/../tools/fetch-debian-source.sh lua5.1 ${CALDRIN_LUA51_ROOT}
            RESULT_VARIABLE _lua51_fetch
            OUTPUT_FILE ${CALDRIN_LUA51_ROOT}/fetch.log
            ERROR_FILE ${CALDRIN_LUA51_ROOT}/fetch.log)
        if(NOT _lua51_fetch EQUAL 0)
            message(FATAL_ERROR "Could not fetch the lua5.1 source package; see ${CALDRIN_LUA51_ROOT}/fetch.log")
        endif()
        file(GLOB _lua51_dsc ${CALDRIN_LUA51_ROOT}/download/lua5.1_*.dsc)
    endif()
    if(NOT _lua51_dsc)
        message(FATAL_ERROR "No lua5.1 source package in ${CALDRIN_LUA51_ROOT}/download")
    endif()
    list(SORT _lua51_dsc)
    list(GET _lua51_dsc -1 _lua51_dsc)
    # dpkg-source checks the files against the .dsc that apt took from the
    # signed archive index, and applies Debian's patches.
    file(REMOVE_RECURSE ${CALDRIN_LUA51_SOURCE})
    execute_process(
        COMMAND dpkg-source -x ${_lua51_dsc} ${CALDRIN_LUA51_SOURCE}
        RESULT_VARIABLE _lua51_unpack
        OUTPUT_FILE ${CALDRIN_LUA51_ROOT}/unpack.log
        ERROR_FILE ${CALDRIN_LUA51_ROOT}/unpack.log)
    if(NOT _lua51_unpack EQUAL 0 OR NOT EXISTS ${CALDRIN_LUA51_SOURCE}/src/lua.h)
        # A broken download is fetched again by the next configure.
        file(REMOVE_RECURSE ${CALDRIN_LUA51_SOURCE} ${CALDRIN_LUA51_ROOT}/download)
        message(FATAL_ERROR "Could not unpack ${_lua51_dsc}; see ${CALDRIN_LUA51_ROOT}/unpack.log")
    endif()
endif()

# The library is everything in src/ but the stand-alone interpreter and
# compiler.
set(_lua51_modules
    lapi lcode ldebug ldo ldump lfunc lgc llex lmem lobject lopcodes lparser
    lstate lstring ltable ltm lundump lvm lzio
    lauxlib lbaselib ldblib liolib lmathlib loslib ltablib lstrlib loadlib linit)
set(_lua51_sources)
foreach(_module IN LISTS _lua51_modules)
    list(APPEND _lua51_sources ${CALDRIN_LUA51_SOURCE}/src/${_module}.c)
endforeach()

# Public headers in a folder of their own, so nothing else of src/ is seen.
set(_lua51_include ${CALDRIN_LUA51_ROOT}/include)
foreach(_header lua.h luaconf.h lualib.h lauxlib.h)
    configure_file(${CALDRIN_LUA51_SOURCE}/src/${_header} ${_lua51_include}/${_header} COPYONLY)
endforeach()
configure_file(${CALDRIN_LUA51_SOURCE}/etc/lua.hpp ${_lua51_include}/lua.hpp COPYONLY)

add_library(caldrin_lua51 STATIC ${_lua51_sources})
# The engine is not our code: its warnings are not ours to fix.
target_compile_options(caldrin_lua51 PRIVATE -w)
target_include_directories(caldrin_lua51 SYSTEM PUBLIC ${_lua51_include})
add_library(lua51::lua51 ALIAS caldrin_lua51)
