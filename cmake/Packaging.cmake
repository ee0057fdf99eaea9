# The two archives scripts/package makes with CPack, each from its own build: from the win32
# build, the add-on a user unpacks over the simulator's folder; from a Linux build, vxsim with
# its host library and a runtime folder, to be run from wherever it is unpacked. The version is
# the project's.
set(CPACK_PACKAGE_NAME halcyra-colony)
set(CPACK_PACKAGE_VENDOR "Halcyra Colony")
# Packaging installs only what scripts/package has built, not every target of the build.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

if(WIN32)
    if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
        return() # the simulator and its add-ons are 32-bit
    endif()
    configure_file(docs/FLYING.txt "${CMAKE_BINARY_DIR}/Halcyra-Colony.txt" @ONLY NEWLINE_STYLE CRLF)
    install(FILES "$<TARGET_FILE:halcyra>" DESTINATION modules)
    install(FILES ${VX_SCENARIOS} DESTINATION scenarios)
    install(FILES "${CMAKE_BINARY_DIR}/Halcyra-Colony.txt" DESTINATION docs)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_SYSTEM_NAME win32)
    # Unpacked over the simulator's folder: modules/, scenarios/ and docs/ land in its own.
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
    # Run paths relative to each file, so the unpacked folder works wherever it lies.
    set_target_properties(vxsim vxhost PROPERTIES INSTALL_RPATH "$ORIGIN")
    set_target_properties(halcyra CKit Tender PROPERTIES INSTALL_RPATH "$ORIGIN/../..")
    install(TARGETS vxsim vxhost RUNTIME DESTINATION . LIBRARY DESTINATION .)
    install(TARGETS halcyra CKit Tender LIBRARY DESTINATION runtime/modules)
    install(FILES "${VX_RUNTIME_DIR}/meshes/CKit/ver.dtf" DESTINATION runtime/meshes/CKit)
    install(DIRECTORY DESTINATION runtime/config/CKITIdConfig)
    install(FILES ${VX_SCENARIOS} DESTINATION runtime/scenarios)
    set(CPACK_GENERATOR TGZ)
    set(CPACK_SYSTEM_NAME linux-${CMAKE_SYSTEM_PROCESSOR})
endif()
set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME}")
include(CPack)
