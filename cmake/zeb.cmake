# Build settings shared by every target of the project.

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers)
endif()

find_program(ZEB_CCACHE ccache)
if(ZEB_CCACHE)
  set(CMAKE_C_COMPILER_LAUNCHER ${ZEB_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${ZEB_CCACHE})
endif()

if(ZEB_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_compile_options(-fsanitize-ignorelist=${CMAKE_SOURCE_DIR}/cmake/sanitize-ignore.txt)
  endif()
endif()

if(ZEB_TSAN)
  if(ZEB_SANITIZE)
    message(FATAL_ERROR "ZEB_TSAN and ZEB_SANITIZE cannot share a tree")
  endif()
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

if(ZEB_FUZZ)
  # Everything is instrumented for coverage; only fuzz programs link the driver.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# While several people edit the tree at once, ZEB_SKIP_INCOMPLETE=1 in the
# environment skips a test, fuzz or bench program whose sources are not all
# there yet, instead of failing the whole configure. Never set in CI.
function(zeb_sources_complete out)
  set(${out} TRUE PARENT_SCOPE)
  if(NOT DEFINED ENV{ZEB_SKIP_INCOMPLETE})
    return()
  endif()
  foreach(src IN LISTS ARGN)
    if(NOT IS_ABSOLUTE ${src})
      set(src ${CMAKE_CURRENT_SOURCE_DIR}/${src})
    endif()
    if(NOT EXISTS ${src})
      message(STATUS "skipping a program: ${src} is missing")
      set(${out} FALSE PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()

# zeb_add_test(name SOURCES a.cpp b.cpp LIBS lib1 lib2 [GUI])
# One GoogleTest program registered with ctest. Tests run on Qt's offscreen
# platform with one 1920 x 1080 screen at 96 dpi (the default offscreen
# screen, 800 x 800, is smaller than the main frame's minimum size).
function(zeb_add_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
  zeb_sources_complete(ok ${T_SOURCES})
  if(NOT ok)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} test_support GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_SOURCE_DIR}/platform/testing/offscreen_screen.json;ZEB_SOURCE_DIR=${CMAKE_SOURCE_DIR};ZEB_BIN_DIR=${CMAKE_BINARY_DIR}/bin"
    TIMEOUT 300)
  if(ZEB_TSAN)
    # Any report fails the test; Qt's uninstrumented libraries are named in
    # the suppression file. Options set by the caller come after and win.
    # Instrumented programs run several times slower: a wider ceiling.
    set_property(TEST ${name} PROPERTY TIMEOUT 900)
    set_property(TEST ${name} PROPERTY ENVIRONMENT_MODIFICATION
      "TSAN_OPTIONS=string_prepend:halt_on_error=1:second_deadlock_stack=1:suppressions=${CMAKE_SOURCE_DIR}/tools/tsan.supp:")
  endif()
endfunction()

# zeb_add_fuzz(name SOURCES a.cpp LIBS lib1)
# A libFuzzer target; built only in the fuzzing tree.
function(zeb_add_fuzz name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  zeb_sources_complete(ok ${F_SOURCES})
  if(NOT ZEB_FUZZ OR NOT ok)
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_property(GLOBAL APPEND PROPERTY ZEB_FUZZ_TARGETS ${name})
endfunction()

# zeb_add_bench(name SOURCES a.cpp LIBS lib1)
function(zeb_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  zeb_sources_complete(ok ${B_SOURCES})
  if(NOT ZEB_BENCH OR ZEB_FUZZ OR ZEB_SANITIZE OR ZEB_TSAN OR NOT ok)
    return()
  endif()
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark Threads::Threads)
  set_property(GLOBAL APPEND PROPERTY ZEB_BENCH_TARGETS ${name})
endfunction()

# Adds every subfolder (one per subsystem) that has a CMakeLists.txt.
function(zeb_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
