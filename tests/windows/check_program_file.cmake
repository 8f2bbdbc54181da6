# cmake -DPROGRAM=caldrin.exe -DOBJDUMP=... -P check_program_file.cmake
#
# The Windows program is a 32-bit console program that any Windows system
# runs as it is: every DLL it imports comes with the system. A DLL of the
# compiler's (libstdc++, libgcc, libwinpthread) would be missing from the zip.
cmake_minimum_required(VERSION 3.25)

set(_system_dlls ADVAPI32.DLL KERNEL32.DLL MSVCRT.DLL SHELL32.DLL SHLWAPI.DLL USER32.DLL WINMM.DLL)

if(NOT EXISTS "${PROGRAM}")
    message(FATAL_ERROR "${PROGRAM} is missing: build the Windows program first (make windows)")
endif()
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE _headers RESULT_VARIABLE _result)
if(NOT _result EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} cannot read ${PROGRAM}")
endif()

foreach(_wanted "file format pei-i386" "Magic[ \t]+010b[ \t]+\\(PE32\\)" "Subsystem[ \t]+00000003[ \t]+\\(Windows CUI\\)")
    if(NOT _headers MATCHES "${_wanted}")
        message(FATAL_ERROR "${PROGRAM} is not a 32-bit x86 console program: no \"${_wanted}\"")
    endif()
endforeach()

string(REGEX MATCHALL "DLL Name: [^\n]+" _imports "${_headers}")
if(NOT _imports)
    message(FATAL_ERROR "${PROGRAM} imports no DLL at all")
endif()
foreach(_import IN LISTS _imports)
    string(REPLACE "DLL Name: " "" _dll "${_import}")
    string(STRIP "${_dll}" _dll)
    string(TOUPPER "${_dll}" _dll_upper)
    if(NOT _dll_upper IN_LIST _system_dlls)
        message(FATAL_ERROR "${PROGRAM} imports ${_dll}, which Windows does not come with")
    endif()
    message(STATUS "imports ${_dll}")
endforeach()
