# find_package(Kestrum) support: every installed target joins the export set KestrumTargets.
include(CMakePackageConfigHelpers)
set(KESTRUM_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Kestrum)
get_property(KESTRUM_PACKAGE_NEEDS_QT GLOBAL PROPERTY KESTRUM_PACKAGE_NEEDS_QT)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/KestrumConfig.cmake.in
  ${PROJECT_BINARY_DIR}/KestrumConfig.cmake INSTALL_DESTINATION ${KESTRUM_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KestrumConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(EXPORT KestrumTargets NAMESPACE Kestrum:: DESTINATION ${KESTRUM_CMAKE_DIR})
install(FILES ${PROJECT_BINARY_DIR}/KestrumConfig.cmake ${PROJECT_BINARY_DIR}/KestrumConfigVersion.cmake
  DESTINATION ${KESTRUM_CMAKE_DIR})
