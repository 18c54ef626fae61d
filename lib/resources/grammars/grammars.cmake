# Compiles the grammar files of this folder into one generated C++ source with
# the lexer and parser tables and the token names, built into the library.
file(GLOB TESSEL_GRAMMAR_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.grammar)
set(TESSEL_GRAMMAR_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/generated/grammar_resources.cpp)
# A cross build whose programs cannot run here (a 32-bit Windows build on a
# kernel without 32-bit emulation) names a grammar compiler built for this
# machine instead; its tables are the same on every target.
set(TESSEL_HOST_GRAMMAR_COMPILER "" CACHE FILEPATH
    "A grammar compiler that runs on the build machine (default: the one built here)")
if(TESSEL_HOST_GRAMMAR_COMPILER)
    set(tessel_grammar_compiler ${TESSEL_HOST_GRAMMAR_COMPILER})
    set(tessel_grammar_compiler_dependency ${TESSEL_HOST_GRAMMAR_COMPILER})
else()
    set(tessel_grammar_compiler grammar_compiler)
    set(tessel_grammar_compiler_dependency grammar_compiler)
endif()
add_custom_command(
    OUTPUT ${TESSEL_GRAMMAR_SOURCE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/generated
    COMMAND ${tessel_grammar_compiler} --output ${TESSEL_GRAMMAR_SOURCE} ${TESSEL_GRAMMAR_FILES}
    DEPENDS ${tessel_grammar_compiler_dependency} ${TESSEL_GRAMMAR_FILES}
    COMMENT "Compiling the grammar tables"
    VERBATIM)
target_sources(tessel_obj PRIVATE ${TESSEL_GRAMMAR_SOURCE})

# The parser runtime with the grammar tables as a static library of its own,
# for programs that link the shared library (whose exports are only the flat
# C functions) but need the runtime's classes: the tool's grammar diagnostics,
# and its list of languages and code pages (the language list and charset
# names of lib/markup, which need nothing but platform and resources).
file(GLOB TESSEL_GRAMMAR_RUNTIME_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_LIST_DIR}/../../parser/*.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../../platform/*.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../*.cpp)
list(APPEND TESSEL_GRAMMAR_RUNTIME_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../../markup/language_list.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../../markup/code_page_charset.cpp)
add_library(tessel_grammar_runtime STATIC ${TESSEL_GRAMMAR_RUNTIME_SOURCES} ${TESSEL_GRAMMAR_SOURCE})
target_include_directories(tessel_grammar_runtime PUBLIC ${PROJECT_SOURCE_DIR}/lib)
