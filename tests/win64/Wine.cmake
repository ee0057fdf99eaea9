# Running the Windows test programs under wine: ctest starts each one through wine64, in a
# prefix of the build tree's own, created once before the first test needs it.
find_program(VX_WINE64 NAMES wine64 PATHS /usr/lib/wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR "${VX_WINE64}")
set(VX_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
set(VX_WINE_ENVIRONMENT "WINEPREFIX=${VX_WINEPREFIX}" "WINEDEBUG=-all")

add_test(NAME win64.WinePrefix
         COMMAND sh -c "test -f \"$WINEPREFIX/system.reg\" || \"$0\" wineboot -i" "${VX_WINE64}")
set_tests_properties(win64.WinePrefix PROPERTIES
    ENVIRONMENT "${VX_WINE_ENVIRONMENT}"
    ENVIRONMENT_MODIFICATION "DISPLAY=unset:"
    FIXTURES_SETUP wineprefix)

# vx_wine_tests(TESTS...): the tests run under wine, after the prefix exists.
function(vx_wine_tests)
    set_tests_properties(${ARGN} PROPERTIES
        ENVIRONMENT "${VX_WINE_ENVIRONMENT}"
        ENVIRONMENT_MODIFICATION "DISPLAY=unset:"
        FIXTURES_REQUIRED wineprefix)
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
