# Installs the library for programs built elsewhere: the headers under
# include/orvcommon/ in their src/ layout (a consumer writes
# #include "framework/String.h"), the library (natively the shared and the
# static library; on Windows OrvCommon.dll and its import library), KESTREL,
# and a package configuration, so that a consumer's
# find_package(OrvCommon) gives the targets OrvCommon::orvcommon,
# OrvCommon::orvcommon_static (natively) and OrvCommon::kestrel.
include(CMakePackageConfigHelpers)

set(ORV_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/OrvCommon)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/orvcommon
    FILES_MATCHING PATTERN "*.h")
install(FILES host/kestrel/Kestrel.h host/kestrel/Folders.h host/kestrel/Output.h
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kestrel)

set(ORV_INSTALL_TARGETS orvcommon kestrel)
if(TARGET orvcommon_static)
    list(APPEND ORV_INSTALL_TARGETS orvcommon_static)
endif()
install(TARGETS ${ORV_INSTALL_TARGETS} EXPORT OrvCommonTargets
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
if(WIN32)
    # The C++ runtime the DLL shares with its callers (see OrvHelpers.cmake).
    install(FILES
        ${CMAKE_BINARY_DIR}/bin/libstdc++-6.dll
        ${CMAKE_BINARY_DIR}/bin/libgcc_s_seh-1.dll
        ${CMAKE_BINARY_DIR}/bin/libwinpthread-1.dll
        DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(EXPORT OrvCommonTargets
    NAMESPACE OrvCommon::
    DESTINATION ${ORV_INSTALL_CMAKEDIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/OrvCommonConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/OrvCommonConfig.cmake
    INSTALL_DESTINATION ${ORV_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/OrvCommonConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES
    ${CMAKE_CURRENT_BINARY_DIR}/OrvCommonConfig.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/OrvCommonConfigVersion.cmake
    DESTINATION ${ORV_INSTALL_CMAKEDIR})
