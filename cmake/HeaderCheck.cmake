# Every header of the product layers compiles on its own. For each header a
# source that includes only that header is generated and compiled against the
# usage requirements of its layer's target alone: a header that leans on an
# include its users happen to make first, or on something its layer may not
# reach (Qt below the windows, the program's layers in the radio simulator),
# fails the build. Headers are found by glob, so new ones are checked without
# a change here.
set(TOLVANE_HEADER_CHECK_DIR ${CMAKE_BINARY_DIR}/header_check)
add_custom_target(header_check)

# tolvane_check_headers(<name> <target> GLOBS <pattern>... [EXCLUDE <regex>])
# checks the headers the patterns (relative to the source root, searched
# recursively) find, compiled against <target>.
function(tolvane_check_headers name target)
  cmake_parse_arguments(H "" "EXCLUDE" "GLOBS" ${ARGN})
  list(TRANSFORM H_GLOBS PREPEND ${PROJECT_SOURCE_DIR}/)
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS ${H_GLOBS})
  if(H_EXCLUDE)
    list(FILTER headers EXCLUDE REGEX "${H_EXCLUDE}")
  endif()
  if(NOT headers OR NOT TARGET ${target})
    return()
  endif()
  set(srcs)
  foreach(header ${headers})
    file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${header})
    string(MAKE_C_IDENTIFIER ${rel} id)
    set(src ${TOLVANE_HEADER_CHECK_DIR}/${id}.cpp)
    # Written only when it changes, so a new configure rebuilds nothing.
    file(CONFIGURE OUTPUT ${src} CONTENT "#include \"${rel}\"\n")
    list(APPEND srcs ${src})
  endforeach()
  add_library(header_check_${name} OBJECT ${srcs})
  target_link_libraries(header_check_${name} PRIVATE ${target})
  # Only the compile matters: no moc run, no debug information, no object
  # used by anyone.
  set_target_properties(header_check_${name} PROPERTIES AUTOMOC OFF)
  target_compile_options(header_check_${name} PRIVATE -g0)
  tolvane_warnings(header_check_${name})
  add_dependencies(header_check header_check_${name})
endfunction()
