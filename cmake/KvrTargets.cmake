# Helpers every subsystem's CMakeLists uses, so that each folder says only
# what it builds.

# kvr_add_library(name SOURCES ... [LIBS ...])
# A static library of one subsystem. Headers are included by their path from
# the project root ("framework/CString.h").
function(kvr_add_library name)
  cmake_parse_arguments(L "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  if(L_LIBS)
    target_link_libraries(${name} PUBLIC ${L_LIBS})
  endif()
endfunction()

# kvr_add_program(name SOURCES ... [LIBS ...])
# A program of the distribution: it is written into the distribution
# directory, where it finds its files through /proc/self/exe.
function(kvr_add_program name)
  cmake_parse_arguments(P "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${P_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${P_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KVR_DIST_DIR})
endfunction()

# kvr_add_test(name SOURCES ... [LIBS ...] [XVFB] [TIMEOUT seconds])
# One GoogleTest binary, run by CTest as one test. With XVFB the binary's
# main starts a private Xvfb first and points DISPLAY at it.
function(kvr_add_test name)
  cmake_parse_arguments(T "XVFB" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(T_XVFB)
    target_link_libraries(${name} PRIVATE kvr_xtest_main)
  else()
    target_link_libraries(${name} PRIVATE kvr_test_main)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
endfunction()
