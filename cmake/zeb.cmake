# Build settings shared by every target of the project.

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers)
endif()

# CI (tools/test.sh, and the run command, on the compilers of
# tools/packages.txt) builds with warnings as errors, so none comes back.
option(ZEB_WERROR "Treat compiler warnings as errors" OFF)
if(ZEB_WERROR)
  add_compile_options(-Werror)
endif()

# ccache, when installed, compiles nothing twice within a checkout, however
# often its trees are wiped. Paths below the source folder are hashed
# relative to it (base_dir) and the build folder's path not at all
# (hash_dir). Another checkout's objects still do not serve: the unity
# batch files CMake writes name their sources by absolute path (and clang's
# header images keep their checkout's paths). Precompiled headers are
# cached (sloppiness, as ccache's manual asks). A setting made in the
# environment at configure time is left to it.
option(ZEB_CCACHE "Compile through ccache when it is installed" ON)
find_program(ZEB_CCACHE_PROGRAM ccache)
# glibc's allocations on transparent huge pages where the system gives them
# on request (glibc 2.35 and later; older ones ignore it): the compilers and
# the test programs run with it.
set(zeb_huge_pages GLIBC_TUNABLES=glibc.malloc.hugetlb=1)
# Every compiler run gets this environment (through env, before ccache).
# Huge pages take a fifth off compile time, from far fewer page faults and
# TLB misses.
set(zeb_compile_env)
if(NOT DEFINED ENV{GLIBC_TUNABLES})
  list(APPEND zeb_compile_env ${zeb_huge_pages})
endif()
set(zeb_ccache)
if(ZEB_CCACHE AND ZEB_CCACHE_PROGRAM)
  set(zeb_ccache ${ZEB_CCACHE_PROGRAM})
  if(NOT DEFINED ENV{CCACHE_BASEDIR})
    list(APPEND zeb_compile_env CCACHE_BASEDIR=${CMAKE_SOURCE_DIR})
  endif()
  if(NOT DEFINED ENV{CCACHE_NOHASHDIR} AND NOT DEFINED ENV{CCACHE_HASHDIR})
    list(APPEND zeb_compile_env CCACHE_NOHASHDIR=1)
  endif()
  # Depend mode takes the headers from the compiler's dependency file
  # instead of running the preprocessor first on every miss: with an empty
  # cache that run cost a fifth of each compile, a third with a
  # precompiled header (whose image it hashes each time).
  if(NOT DEFINED ENV{CCACHE_DEPEND})
    list(APPEND zeb_compile_env CCACHE_DEPEND=1)
  endif()
  if(NOT DEFINED ENV{CCACHE_SLOPPINESS})
    list(APPEND zeb_compile_env
      CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime)
  endif()
endif()
if(zeb_compile_env OR zeb_ccache)
  find_program(ZEB_ENV_PROGRAM env REQUIRED)
  set(CMAKE_C_COMPILER_LAUNCHER ${ZEB_ENV_PROGRAM} ${zeb_compile_env} ${zeb_ccache})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${ZEB_ENV_PROGRAM} ${zeb_compile_env} ${zeb_ccache})
endif()

# lld links the many test programs several times faster than the system's
# default linker (the package is in tools/packages.txt).
find_program(ZEB_LLD ld.lld)
if(ZEB_LLD)
  add_link_options(-fuse-ld=lld)
endif()

# The formula interpreter and its built-ins run over series of a million
# bars in their tests, and the tests compare every value; unoptimized those
# tests took minutes. These targets compile at -O1 at least, whatever the
# sanitizer tree or ZEB_TEST_COMPILE_OPTIONS would give them (under the
# sanitizers -O1 keeps every check, as their own manuals advise), and then
# take no precompiled header (their options are their own).
set(ZEB_ALWAYS_OPTIMIZED formula_core formula_functions yl_runtime
  test_formula_parser test_formula_functions)

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

# Options for every target but the test programs (zeb_apply_precompiled_headers
# hands them out once every target exists). Under ZEB_FUZZ the code is
# instrumented for coverage, which only fuzz programs use (they alone link
# the driver): the tests compile and run a seventh faster without it.
set(ZEB_CODE_COMPILE_OPTIONS)
if(ZEB_FUZZ)
  list(APPEND ZEB_CODE_COMPILE_OPTIONS -fsanitize=fuzzer-no-link)
endif()

# Options for the test code only, every target on GoogleTest (the libraries
# under test keep the tree's): the normal tree compiles tests unoptimized,
# which halves their compile time while the code under test runs as
# optimized as the program.
set(ZEB_TEST_COMPILE_OPTIONS "" CACHE STRING "Compile options of the test programs' own sources")

# What every test and benchmark program runs with: Qt's offscreen platform
# with one 1920 x 1080 screen at 96 dpi (the default offscreen screen,
# 800 x 800, is smaller than the main frame's minimum size), where to find
# the sources and the programs, and glibc's allocations on transparent huge
# pages where the system gives them on request: tests that build long
# series spent half their time in page faults without.
set(ZEB_TEST_ENVIRONMENT
  "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_SOURCE_DIR}/platform/testing/offscreen_screen.json"
  "ZEB_SOURCE_DIR=${CMAKE_SOURCE_DIR}" "ZEB_BIN_DIR=${CMAKE_BINARY_DIR}/bin"
  ${zeb_huge_pages})

# zeb_add_test(name SOURCES a.cpp b.cpp LIBS lib1 lib2)
# One GoogleTest program registered with ctest, in ZEB_TEST_ENVIRONMENT.
function(zeb_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} test_support GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ZEB_TEST_ENVIRONMENT}" TIMEOUT 300)
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
  if(NOT ZEB_FUZZ)
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_property(GLOBAL APPEND PROPERTY ZEB_FUZZ_TARGETS ${name})
endfunction()

# zeb_add_bench(name SOURCES a.cpp LIBS lib1 [SMOKE_ARGS --benchmark_filter=...])
function(zeb_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS;SMOKE_ARGS" ${ARGN})
  if(NOT ZEB_BENCH OR ZEB_FUZZ OR ZEB_SANITIZE OR ZEB_TSAN)
    return()
  endif()
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark Threads::Threads)
  set_property(GLOBAL APPEND PROPERTY ZEB_BENCH_TARGETS ${name})
  # Every benchmark runs once, briefly, in the normal tree's test suite, so
  # one that breaks or reports an error fails CI. No figure is looked at:
  # tools/bench.sh measures, in a Release tree.
  add_test(NAME ${name} COMMAND ${name} --benchmark_min_time=0.001 ${B_SMOKE_ARGS})
  set_tests_properties(${name} PROPERTIES
    LABELS bench
    FAIL_REGULAR_EXPRESSION "ERROR OCCURRED"
    ENVIRONMENT "${ZEB_TEST_ENVIRONMENT};ZEB_BENCH_SMOKE=1"
    TIMEOUT 600)
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

# zeb_forbid_qt_widgets(target... [GUI])
# The layers the build enforces: each target named must not have Qt Widgets
# (with GUI: nor Qt Gui) anywhere in its link closure, or the configure step
# fails naming the chain that brings it in. Targets are usually defined in
# later folders than their users', so the check runs once at the end of the
# top-level folder, when every target exists.
function(zeb_forbid_qt_widgets)
  cmake_parse_arguments(F "GUI" "" "" ${ARGN})
  foreach(target IN LISTS F_UNPARSED_ARGUMENTS)
    set_property(GLOBAL APPEND PROPERTY ZEB_NO_WIDGETS_TARGETS ${target})
    if(F_GUI)
      set_property(GLOBAL APPEND PROPERTY ZEB_NO_GUI_TARGETS ${target})
    endif()
  endforeach()
  get_property(scheduled GLOBAL PROPERTY ZEB_QT_LAYER_CHECK_SCHEDULED)
  if(NOT scheduled)
    set_property(GLOBAL PROPERTY ZEB_QT_LAYER_CHECK_SCHEDULED TRUE)
    cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL zeb_check_qt_layers)
  endif()
endfunction()

# The items a target brings into its closure: what it links itself (for a
# shared library its private libraries load with it) and what it hands on.
# Aliases resolve to their targets; a generator expression other than
# LINK_ONLY cannot be judged before generation and is left out.
function(_zeb_link_items target out)
  set(items)
  get_target_property(type ${target} TYPE)
  set(props INTERFACE_LINK_LIBRARIES)
  get_target_property(imported ${target} IMPORTED)
  if(NOT type STREQUAL "INTERFACE_LIBRARY" AND NOT imported)
    list(APPEND props LINK_LIBRARIES)
  endif()
  foreach(prop IN LISTS props)
    get_target_property(values ${target} ${prop})
    if(NOT values)
      continue()
    endif()
    foreach(item IN LISTS values)
      if(item MATCHES "^::@")
        continue()  # the marker of a link made from another folder
      endif()
      if(item MATCHES "^\\$<LINK_ONLY:([^$]+)>$")
        set(item ${CMAKE_MATCH_1})
      endif()
      if(item MATCHES "\\$<")
        continue()
      endif()
      if(TARGET ${item})
        get_target_property(aliased ${item} ALIASED_TARGET)
        if(aliased)
          set(item ${aliased})
        endif()
      endif()
      list(APPEND items ${item})
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES items)
  set(${out} ${items} PARENT_SCOPE)
endfunction()

# Sets out to the chain "target -> ... -> item" to the first item of the
# target's link closure that matches pattern, or to nothing.
function(_zeb_find_in_closure target pattern out)
  set(${out} "" PARENT_SCOPE)
  set(queue ${target})
  set(seen ${target})
  while(queue)
    list(POP_FRONT queue node)
    _zeb_link_items(${node} items)
    foreach(item IN LISTS items)
      if(item IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${item})
      string(MAKE_C_IDENTIFIER "${item}" key)
      set(parent_${key} ${node})
      if(item MATCHES "${pattern}")
        set(chain ${item})
        set(step ${item})
        while(NOT "${step}" STREQUAL "${target}")
          string(MAKE_C_IDENTIFIER "${step}" key)
          set(step ${parent_${key}})
          set(chain "${step} -> ${chain}")
        endwhile()
        set(${out} "${chain}" PARENT_SCOPE)
        return()
      endif()
      if(TARGET ${item})
        list(APPEND queue ${item})
      endif()
    endforeach()
  endwhile()
endfunction()

# Runs the checks recorded by zeb_forbid_qt_widgets; fails the configure
# step with every broken rule at once.
function(zeb_check_qt_layers)
  set(widgets_pattern "^Qt6?::Widgets$|libQt6Widgets[.]so")
  set(gui_pattern "^Qt6?::Gui$|libQt6Gui[.]so")
  get_property(no_widgets GLOBAL PROPERTY ZEB_NO_WIDGETS_TARGETS)
  get_property(no_gui GLOBAL PROPERTY ZEB_NO_GUI_TARGETS)
  set(errors)
  foreach(target IN LISTS no_widgets)
    if(NOT TARGET ${target})
      list(APPEND errors "${target} is not a target")
      continue()
    endif()
    _zeb_find_in_closure(${target} "${widgets_pattern}" chain)
    if(chain)
      list(APPEND errors "${target} must not link Qt Widgets: ${chain}")
    endif()
    if(target IN_LIST no_gui)
      _zeb_find_in_closure(${target} "${gui_pattern}" chain)
      if(chain)
        list(APPEND errors "${target} must not link Qt Gui: ${chain}")
      endif()
    endif()
  endforeach()
  if(errors)
    list(JOIN errors "\n  " text)
    message(FATAL_ERROR "Library layers broken:\n  ${text}")
  endif()
endfunction()

# ---------------------------------------------------------------------------
# Precompiled headers. Every C++ target of the project gets the header set of
# its layer (cmake/pch/): the standard library's common headers, with Qt Gui
# or Qt Widgets for the targets that build on them, with GoogleTest for the
# test programs. Each set is compiled once per tree, by a small holder
# target, and reused by every target of its layer. A PCH only fits a target
# whose flags match the holder's: libraries and executables without Qt
# differ (-fPIC, -fPIE), so each has its holders; a target with options of its own
# (COMPILE_OPTIONS, e.g. the formula functions' floating-point settings, or
# a visibility preset) keeps no set, as does one with ZEB_NO_PCH set or
# named here:
# g++'s header images are five times clang's (up to 200 MB) and loading one
# cost more than parsing the headers it holds: measured on a unity batch of
# eight tests (11.0 s with, 10.7 s without) and on a small library batch
# (2.4 s with, 1.8 s without), besides the images' own minute of building.
# clang reads its smaller images faster than the headers (7.9 s and 9.3 s on
# that batch): the sets serve clang trees only, unless asked for.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  set(zeb_pch_default ON)
else()
  set(zeb_pch_default OFF)
endif()
option(ZEB_PCH "Precompile the common headers of each layer" ${zeb_pch_default})
set(ZEB_NO_PCH_TARGETS
  zebinput                # a variable named slots, a macro in Qt's headers
  test_shell_input)       # the same

# The targets whose usage requirements reach target's sources: what it
# links, and what those hand on (not what a library keeps to itself).
function(_zeb_usage_closure target out)
  set(seen)
  get_target_property(queue ${target} LINK_LIBRARIES)
  if(NOT queue)
    set(queue)
  endif()
  while(queue)
    list(POP_FRONT queue item)
    if(item MATCHES "\\$<" OR item IN_LIST seen OR NOT TARGET ${item})
      continue()
    endif()
    get_target_property(aliased ${item} ALIASED_TARGET)
    if(aliased)
      set(item ${aliased})
    endif()
    list(APPEND seen ${item})
    get_target_property(handed ${item} INTERFACE_LINK_LIBRARIES)
    if(handed)
      list(APPEND queue ${handed})
    endif()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Every target defined in dir and the folders below it.
function(_zeb_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _zeb_targets_below(${sub} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The holder of one header set (layer core, qtcore: the core set for a
# target on Qt Core, gui or widgets; kind lib or exe; test or not), made
# the first time a target asks for it.
function(_zeb_pch_holder layer kind test out)
  set(name zeb_pch_${layer}_${kind})
  set(headers ${CMAKE_SOURCE_DIR}/cmake/pch/${layer}.h)
  if(layer STREQUAL "qtcore")
    set(headers ${CMAKE_SOURCE_DIR}/cmake/pch/core.h)
  endif()
  if(test)
    set(name ${name}_test)
    list(APPEND headers ${CMAKE_SOURCE_DIR}/cmake/pch/test.h)
  endif()
  if(NOT TARGET ${name})
    add_library(${name} OBJECT ${CMAKE_SOURCE_DIR}/cmake/pch/holder.cpp)
    if(kind STREQUAL "exe")
      # Executables compile as position-independent executables.
      set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE OFF)
      target_compile_options(${name} PRIVATE -fPIE)
    endif()
    if(layer STREQUAL "qtcore")
      target_link_libraries(${name} PRIVATE Qt6::Core)
    elseif(layer STREQUAL "gui")
      target_link_libraries(${name} PRIVATE Qt6::Gui)
    elseif(layer STREQUAL "widgets")
      target_link_libraries(${name} PRIVATE Qt6::Widgets)
    endif()
    if(test)
      target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock)
      # A header image holds the options it was compiled with (-O0 and -O1
      # define different macros): each set takes its users' options.
      target_compile_options(${name} PRIVATE ${ZEB_TEST_COMPILE_OPTIONS})
    else()
      target_compile_options(${name} PRIVATE ${ZEB_CODE_COMPILE_OPTIONS})
    endif()
    target_precompile_headers(${name} PRIVATE ${headers})
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
      # No file times in the header: ccache may hand it to another tree or
      # checkout, whose headers have other times.
      target_compile_options(${name} PRIVATE "SHELL:-Xclang -fno-pch-timestamp")
    endif()
  endif()
  set(${out} ${name} PARENT_SCOPE)
endfunction()

if(ZEB_PCH AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # g++ 12 reports out-of-bounds copies inside the standard library's own
  # std::string code once that code comes from a precompiled header (its
  # system-header silence is lost); clang's checks and the sanitizer tree
  # still guard our code.
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wno-array-bounds>
                      $<$<COMPILE_LANGUAGE:CXX>:-Wno-stringop-overflow>)
endif()

# Gives every C++ target its layer's set, and takes the targets named in
# ZEB_NO_UNITY_TARGETS out of unity builds; runs once every target exists.
function(zeb_apply_precompiled_headers)
  # Only where the tree would compile them with less (a Release tree keeps
  # its own level).
  if(ZEB_SANITIZE OR ZEB_TEST_COMPILE_OPTIONS)
    foreach(target IN LISTS ZEB_ALWAYS_OPTIMIZED)
      if(TARGET ${target})
        target_compile_options(${target} PRIVATE -O1)
      endif()
    endforeach()
  endif()
  foreach(target IN LISTS ZEB_NO_UNITY_TARGETS)
    if(TARGET ${target})
      set_target_properties(${target} PROPERTIES UNITY_BUILD OFF)
    endif()
  endforeach()
  _zeb_targets_below(${CMAKE_SOURCE_DIR} targets)
  if(ZEB_TEST_COMPILE_OPTIONS OR ZEB_CODE_COMPILE_OPTIONS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
        _zeb_usage_closure(${target} closure)
        if(GTest::gtest IN_LIST closure)
          if(NOT target IN_LIST ZEB_ALWAYS_OPTIMIZED)
            target_compile_options(${target} PRIVATE ${ZEB_TEST_COMPILE_OPTIONS})
          endif()
        else()
          target_compile_options(${target} PRIVATE ${ZEB_CODE_COMPILE_OPTIONS})
        endif()
      endif()
    endforeach()
  endif()
  if(NOT ZEB_PCH)
    return()
  endif()
  # Options every target has from this file are no options of its own.
  get_property(common DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY COMPILE_OPTIONS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
      continue()
    endif()
    get_target_property(skip ${target} ZEB_NO_PCH)
    if(target IN_LIST ZEB_NO_PCH_TARGETS)
      set(skip TRUE)
    endif()
    get_target_property(options ${target} COMPILE_OPTIONS)
    if(options)
      list(REMOVE_ITEM options ${common} ${ZEB_TEST_COMPILE_OPTIONS} ${ZEB_CODE_COMPILE_OPTIONS})
    endif()
    get_target_property(own ${target} PRECOMPILE_HEADERS)
    get_target_property(reused ${target} PRECOMPILE_HEADERS_REUSE_FROM)
    get_target_property(visibility ${target} CXX_VISIBILITY_PRESET)
    get_target_property(inlines ${target} VISIBILITY_INLINES_HIDDEN)
    if(skip OR options OR own OR reused OR visibility OR inlines)
      continue()
    endif()
    get_target_property(sources ${target} SOURCES)
    list(FILTER sources INCLUDE REGEX "\\.(cpp|cc|cxx)$")
    if(NOT sources)
      continue()
    endif()
    # A source compiled with a language or code option of its own (another
    # -std, say) cannot take the set.
    get_target_property(target_dir ${target} SOURCE_DIR)
    foreach(source IN LISTS sources)
      if(NOT IS_ABSOLUTE ${source})
        set(source ${target_dir}/${source})
      endif()
      get_source_file_property(source_options ${source} TARGET_DIRECTORY ${target} COMPILE_OPTIONS)
      if(source_options MATCHES "(^|;)-(std=|f)")
        set_source_files_properties(${source} TARGET_DIRECTORY ${target}
          PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
      endif()
    endforeach()
    _zeb_usage_closure(${target} closure)
    # Qt hands its users -fPIC and its macros: a target on Qt takes a set
    # compiled with them, one without Qt a set compiled without.
    set(layer core)
    if(Qt6::Widgets IN_LIST closure)
      set(layer widgets)
    elseif(Qt6::Gui IN_LIST closure)
      set(layer gui)
    elseif(Qt6::Core IN_LIST closure)
      set(layer qtcore)
    endif()
    set(test FALSE)
    if(GTest::gtest IN_LIST closure)
      set(test TRUE)
    endif()
    # Qt's -fPIC comes last on every command line of its users, programs
    # too: one set serves both kinds there.
    set(kind lib)
    if(type STREQUAL "EXECUTABLE" AND layer STREQUAL "core")
      set(kind exe)
    endif()
    _zeb_pch_holder(${layer} ${kind} ${test} holder)
    set_target_properties(${target} PROPERTIES PRECOMPILE_HEADERS_REUSE_FROM ${holder})
  endforeach()
endfunction()

# Unity builds: the sources of a target compile in batches, one compiler run
# per batch, which saves parsing the same headers and instantiating the same
# templates in every file. Names a file keeps to itself (an unnamed
# namespace, static) must then differ between the files of a target; a file
# that cannot share a batch says so with
#   set_source_files_properties(f.cpp PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
# and the reason beside it.
# A target whose files cannot be told apart that way would compile file by
# file, named below with the names it shares (none does today; a name kept
# in two files is usually one thing to keep once, in a header).
option(ZEB_UNITY "Compile each target's sources in batches" ON)
set(ZEB_NO_UNITY_TARGETS)
if(ZEB_UNITY)
  set(CMAKE_UNITY_BUILD ON)
  set(CMAKE_UNITY_BUILD_BATCH_SIZE 8)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # g++ takes a source in a batch for a header, and a class of that
    # source holding a type of its unnamed namespace for a fault.
    add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wno-subobject-linkage>)
  endif()
endif()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL zeb_apply_precompiled_headers)
