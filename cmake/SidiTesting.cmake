# sidi_add_test(NAME name SOURCES ... LIBS ... [ENV VAR=value ...] [TIMEOUT s])
# Builds one Qt Test program and registers it with CTest. Tests run on the
# offscreen platform, with a private temporary and data folder each, so that they
# never need a display and never touch the user's files.
function(sidi_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBS})
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SIDILINK_SOURCE_DIR=${PROJECT_SOURCE_DIR};SIDILINK_BIN_DIR=${CMAKE_BINARY_DIR}/bin;${T_ENV}")
endfunction()
