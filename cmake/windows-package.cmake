# make dist: dist/caldrin-VERSION-win32.zip with the program, the README and
# the Lua modules and dumper scripts that ship with it.
install(TARGETS caldrin RUNTIME DESTINATION .)
if(EXISTS ${PROJECT_SOURCE_DIR}/README.md)
    install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
endif()
# Only folders that hold something, so the zip carries no empty folders.
foreach(_folder lua dumpers)
    file(GLOB_RECURSE _shipped LIST_DIRECTORIES false RELATIVE ${PROJECT_SOURCE_DIR}/${_folder}
         ${PROJECT_SOURCE_DIR}/${_folder}/*)
    list(FILTER _shipped EXCLUDE REGEX "(^|/)\\.")
    if(_shipped)
        install(DIRECTORY ${PROJECT_SOURCE_DIR}/${_folder}/ DESTINATION ${_folder}
                PATTERN ".*" EXCLUDE)
    endif()
endforeach()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME caldrin)
set(CPACK_PACKAGE_FILE_NAME caldrin-${PROJECT_VERSION}-win32)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/dist)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
