# add_unit_test(name SOURCES... [LIBS lib...] [QT] [X_SERVER])
# A GoogleTest executable registered with ctest. QT tests bring their own main() (which sets
# QT_QPA_PLATFORM=offscreen before the QApplication exists); the others use gtest_main.
# X_SERVER tests run as one ctest entry on a private Xvfb display (tests/support/on_x_server.sh)
# with the xcb platform: what a user's desktop does, which the offscreen platform cannot show.
function(add_unit_test name)
  cmake_parse_arguments(T "QT;X_SERVER" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
  if(T_QT)
    target_link_libraries(${name} PRIVATE GTest::gtest ${T_LIBS})
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main ${T_LIBS})
  endif()
  target_compile_definitions(${name} PRIVATE
    KESTRUM_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    KESTRUM_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(T_X_SERVER)
    add_test(NAME ${name}
      COMMAND ${PROJECT_SOURCE_DIR}/tests/support/on_x_server.sh $<TARGET_FILE:${name}>
      WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "KESTRUM_REGISTRY=${PROJECT_BINARY_DIR}/tests/${name}.reg"
      LABELS x_server)
    return()
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/tests
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KESTRUM_REGISTRY=${PROJECT_BINARY_DIR}/tests/${name}.reg"
    DISCOVERY_TIMEOUT 60)
endfunction()
