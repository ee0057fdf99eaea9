# Running the Windows test programs under wine: ctest starts each one through the wine loader of
# the build's architecture (wine for 32-bit programs, wine64 for 64-bit ones), in a prefix of
# the build tree's own, created once before the first test needs it. Test names begin with the
# stage's name, win32 or win64; every test run under wine carries the label "wine", so that
# `ctest -LE wine` runs only what needs no Windows program to run.
# The scripts read the stage and the loader from the cache (scripts/lib/wine.sh).
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(VX_WINDOWS_STAGE win32 CACHE INTERNAL "name of the Windows stage")
    set(loader wine)
else()
    set(VX_WINDOWS_STAGE win64 CACHE INTERNAL "name of the Windows stage")
    set(loader wine64)
endif()
# Not required: the build and the export check need no wine, and scripts/test says why the
# suites did not run where wine is missing.
find_program(VX_WINE NAMES ${loader} PATHS /usr/lib/wine DOC "wine loader the Windows tests run under")
if(NOT VX_WINE)
    message(STATUS "${loader} not found: the Windows suites are built but cannot run here")
    set(VX_WINE ${loader})
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR "${VX_WINE}")
set(VX_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
set(VX_WINE_ENVIRONMENT "WINEPREFIX=${VX_WINEPREFIX}" "WINEDEBUG=-all")

add_test(NAME ${VX_WINDOWS_STAGE}.WinePrefix
         COMMAND sh -c "test -f \"$WINEPREFIX/system.reg\" || \"$0\" wineboot -i" "${VX_WINE}")
set_tests_properties(${VX_WINDOWS_STAGE}.WinePrefix PROPERTIES
    ENVIRONMENT "${VX_WINE_ENVIRONMENT}"
    ENVIRONMENT_MODIFICATION "DISPLAY=unset:"
    FIXTURES_SETUP wineprefix
    LABELS wine)

# vx_wine_tests(TESTS...): the tests run under wine, after the prefix exists.
function(vx_wine_tests)
    set_tests_properties(${ARGN} PROPERTIES
        ENVIRONMENT "${VX_WINE_ENVIRONMENT}"
        ENVIRONMENT_MODIFICATION "DISPLAY=unset:"
        FIXTURES_REQUIRED wineprefix
        LABELS wine)
endfunction()

# GoogleTest from the packaged sources, built with the cross compiler. Statically linked like
# everything else here, so the programs run without the compiler's runtime libraries beside them.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

# The test programs are built optimised here, where GCC 12's flow analysis flags reads through
# handles the tests have just checked and overlaps inside std::string's own copies that cannot
# happen; the same sources build without these at -O0 in the dev preset.
add_library(vx_wine_test_options INTERFACE)
target_compile_options(vx_wine_test_options INTERFACE -Wno-null-dereference -Wno-restrict)
