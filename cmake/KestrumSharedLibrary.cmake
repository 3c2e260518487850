# kestrum_add_shared_library(<target> EXPORT_NAME <name> HEADERS <folder> SOURCES <file>...)
#
# A shared library of the product: versioned, reached as Kestrum::<name> in the build and in an
# installation, its public headers in include/kestrum/<folder>/ of the calling folder, installed
# with them into the export set. The public headers are among the sources, so moc sees every
# Q_OBJECT class they declare and none has to be listed by hand.
include_guard(GLOBAL)

function(kestrum_add_shared_library target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "EXPORT_NAME;HEADERS" "SOURCES")
  file(GLOB public_headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/include/kestrum/${ARG_HEADERS}/*.h)
  add_library(${target} SHARED ${ARG_SOURCES} ${public_headers})
  add_library(Kestrum::${ARG_EXPORT_NAME} ALIAS ${target})
  set_target_properties(${target} PROPERTIES
    EXPORT_NAME ${ARG_EXPORT_NAME} VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
  target_include_directories(${target}
    PUBLIC $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include> $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  install(TARGETS ${target} EXPORT KestrumTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(DIRECTORY include/kestrum/${ARG_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kestrum)
endfunction()
