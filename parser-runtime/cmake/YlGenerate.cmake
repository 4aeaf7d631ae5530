# yl_generate_lexer(<var> SOURCE rules.l CLASS CMyLexer HEADER "my/lexer.h" [NAME stem])
# yl_generate_parser(<var> SOURCE grammar.y CLASS CMyParser HEADER "my/parser.h"
#                    [NAME stem] [TOKENS_NAMESPACE ns])
#
# Run flex or bison on the rule file or grammar at build time and convert the
# result with yltables into one C++ source that defines CLASS::yytables()
# and CLASS::yyaction(). <var> receives the generated files to add to a
# target's sources; <var>_INCLUDE_DIR the folder that holds them (the parser
# also writes <stem>_tokens.h there, the named tokens in namespace
# TOKENS_NAMESPACE, default <stem>_tokens). See parser-runtime/README.md.

find_package(FLEX REQUIRED)
find_package(BISON REQUIRED)

function(_yl_tool_command out_var)
  # The tool may be built with the sanitizers; its leaks are not ours to see.
  set(${out_var} ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:yltables> PARENT_SCOPE)
endfunction()

function(yl_generate_lexer out_var)
  cmake_parse_arguments(L "" "SOURCE;CLASS;HEADER;NAME" "" ${ARGN})
  if(NOT L_SOURCE OR NOT L_CLASS OR NOT L_HEADER)
    message(FATAL_ERROR "yl_generate_lexer needs SOURCE, CLASS and HEADER")
  endif()
  get_filename_component(source ${L_SOURCE} ABSOLUTE)
  if(NOT L_NAME)
    get_filename_component(L_NAME ${L_SOURCE} NAME_WE)
  endif()
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/yl)
  set(flex_c ${dir}/${L_NAME}.flex.c)
  set(out ${dir}/${L_NAME}_lexer.cpp)
  _yl_tool_command(tool)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${FLEX_EXECUTABLE} -Cf -8 -o ${flex_c} ${source}
    COMMAND ${tool} lexer --flex-c ${flex_c} --source ${source} --class ${L_CLASS} --header ${L_HEADER} --out ${out}
    DEPENDS ${source} yltables
    COMMENT "Generating the lexer tables of ${L_SOURCE}"
    VERBATIM)
  # Every generated source names its tables alike: each compiles alone, not
  # in a unity batch with another.
  set_source_files_properties(${out} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
  set(${out_var} ${out} PARENT_SCOPE)
  set(${out_var}_INCLUDE_DIR ${dir} PARENT_SCOPE)
endfunction()

function(yl_generate_parser out_var)
  cmake_parse_arguments(P "" "SOURCE;CLASS;HEADER;NAME;TOKENS_NAMESPACE" "" ${ARGN})
  if(NOT P_SOURCE OR NOT P_CLASS OR NOT P_HEADER)
    message(FATAL_ERROR "yl_generate_parser needs SOURCE, CLASS and HEADER")
  endif()
  get_filename_component(source ${P_SOURCE} ABSOLUTE)
  if(NOT P_NAME)
    get_filename_component(P_NAME ${P_SOURCE} NAME_WE)
  endif()
  if(NOT P_TOKENS_NAMESPACE)
    set(P_TOKENS_NAMESPACE ${P_NAME}_tokens)
  endif()
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/yl)
  set(bison_c ${dir}/${P_NAME}.bison.c)
  set(bison_xml ${dir}/${P_NAME}.bison.xml)
  set(out ${dir}/${P_NAME}_parser.cpp)
  set(tokens ${dir}/${P_NAME}_tokens.h)
  _yl_tool_command(tool)
  add_custom_command(OUTPUT ${out} ${tokens}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${BISON_EXECUTABLE} --xml=${bison_xml} -o ${bison_c} ${source}
    COMMAND ${tool} parser --bison-c ${bison_c} --bison-xml ${bison_xml} --source ${source}
            --class ${P_CLASS} --header ${P_HEADER} --out ${out}
            --tokens ${tokens} --tokens-namespace ${P_TOKENS_NAMESPACE}
    DEPENDS ${source} yltables
    COMMENT "Generating the parser tables of ${P_SOURCE}"
    VERBATIM)
  set_source_files_properties(${out} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
  set(${out_var} ${out} ${tokens} PARENT_SCOPE)
  set(${out_var}_INCLUDE_DIR ${dir} PARENT_SCOPE)
endfunction()
