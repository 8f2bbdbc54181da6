# make dist: dist/caldrin-VERSION-win32.zip with the program, the README and
# the Lua modules and dumper scripts that ship with it.
install(TARGETS caldrin RUNTIME DESTINATION .)
if(EXISTS ${PROJECT_SOURCE_DIR}/README.md)
    install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
endif()
# The Lua files of both folders; the folders themselves only when they hold
# some, so the zip carries no empty folders.
foreach(_folder lua dumpers)
    file(GLOB _shipped ${PROJECT_SOURCE_DIR}/${_folder}/*.lua)
    if(_shipped)
        install(FILES ${_shipped} DESTINATION ${_folder})
    endif()
endforeach()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME caldrin)
set(CPACK_PACKAGE_FILE_NAME caldrin-${PROJECT_VERSION}-win32)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/dist)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
