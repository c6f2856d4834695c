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

# sidi_add_fuzz(NAME name HARNESS file.cpp SOURCES lib-sources... LIBS ... CORPUS dir [SECONDS s])
# A libFuzzer harness (it defines LLVMFuzzerTestOneInput). The sources under test
# are compiled into the harness so that they carry the coverage instrumentation.
# With clang the test is a short fuzzing run from the seed corpus; with another
# compiler the harness is linked to a small driver that replays the corpus, so
# the seeds still run as a regression test.
function(sidi_add_fuzz)
  cmake_parse_arguments(F "" "NAME;HARNESS;CORPUS;SECONDS" "SOURCES;LIBS;INCLUDES" ${ARGN})
  if(NOT F_SECONDS)
    set(F_SECONDS 20)
  endif()
  add_executable(${F_NAME} ${F_HARNESS} ${F_SOURCES})
  target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
  target_include_directories(${F_NAME} PRIVATE ${F_INCLUDES})
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    target_compile_options(${F_NAME} PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
    target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer,address,undefined)
    # The corpus folder is read only; new inputs go to a scratch folder.
    add_test(NAME ${F_NAME}
      COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
              $<TARGET_FILE:${F_NAME}> -max_total_time=${F_SECONDS} -rss_limit_mb=2048
              -max_len=65536 -timeout=10 -print_final_stats=0
              ${CMAKE_CURRENT_BINARY_DIR}/${F_NAME}_new ${F_CORPUS})
    file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${F_NAME}_new)
  else()
    target_sources(${F_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests/fuzz/replay_main.cpp)
    add_test(NAME ${F_NAME} COMMAND ${F_NAME} ${F_CORPUS})
  endif()
  set_tests_properties(${F_NAME} PROPERTIES TIMEOUT 300 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
