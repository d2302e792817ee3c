# Installs headers, libraries and a CMake package so that a host project can write
#   find_package(Kelvane REQUIRED)
#   target_link_libraries(app PRIVATE Kelvane::kelvane)
include(CMakePackageConfigHelpers)

set(KELVANE_CMAKE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/Kelvane")

install(TARGETS kelvane kelvane_platform EXPORT KelvaneTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY "${PROJECT_SOURCE_DIR}/include/" "${PROJECT_SOURCE_DIR}/platform/include/"
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT KelvaneTargets NAMESPACE Kelvane:: DESTINATION ${KELVANE_CMAKE_DIR})

configure_package_config_file("${PROJECT_SOURCE_DIR}/cmake/KelvaneConfig.cmake.in"
                              "${PROJECT_BINARY_DIR}/KelvaneConfig.cmake"
                              INSTALL_DESTINATION ${KELVANE_CMAKE_DIR})
write_basic_package_version_file("${PROJECT_BINARY_DIR}/KelvaneConfigVersion.cmake"
                                 COMPATIBILITY SameMinorVersion)
install(FILES "${PROJECT_BINARY_DIR}/KelvaneConfig.cmake" "${PROJECT_BINARY_DIR}/KelvaneConfigVersion.cmake"
        DESTINATION ${KELVANE_CMAKE_DIR})
