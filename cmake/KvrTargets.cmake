# Helpers every subsystem's CMakeLists uses, so that each folder says only
# what it builds.

# kvr_add_library(name SOURCES ... [LIBS ...])
# A static library of one subsystem. Headers are included by their path from
# the project root ("base/CString.h").
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
  if(KVR_SANITIZE)
    # Also for the programs a test starts: Xlib's per-process tables are not
    # leaks.
    set_tests_properties(${name} PROPERTIES ENVIRONMENT
      "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan.supp")
  endif()
endfunction()

# kvr_add_subsystem(name [LIBS ...])
# The library of one subsystem folder, made of every .cpp in the folder and
# in all its subfolders (internal/, x11/, the engine's rooms), except a
# subfolder with a CMakeLists.txt of its own, which builds a library of its
# own (engine/formats/). Nothing is built while the folder has no source yet.
function(kvr_add_subsystem name)
  cmake_parse_arguments(S "" "" "LIBS" ${ARGN})
  kvr_glob_own_folder(srcs "*.cpp")
  list(FILTER srcs EXCLUDE REGEX "_main\\.cpp$")
  if(srcs)
    kvr_add_library(${name} SOURCES ${srcs} LIBS ${S_LIBS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    if(S_LIBS)
      target_link_libraries(${name} INTERFACE ${S_LIBS})
    endif()
  endif()
endfunction()

# kvr_glob_own_folder(var pattern)
# The files matching pattern in the calling folder and its subfolders, less
# those under a subfolder that has a CMakeLists.txt of its own.
function(kvr_glob_own_folder var pattern)
  set(dir ${CMAKE_CURRENT_SOURCE_DIR})
  file(GLOB_RECURSE found CONFIGURE_DEPENDS ${dir}/${pattern})
  file(GLOB_RECURSE lists RELATIVE ${dir} ${dir}/*/CMakeLists.txt)
  foreach(l ${lists})
    get_filename_component(sub ${l} DIRECTORY)
    list(FILTER found EXCLUDE REGEX "^${dir}/${sub}/")
  endforeach()
  set(${var} ${found} PARENT_SCOPE)
endfunction()

# kvr_add_tests_in_folder(LIBS ...)
# Every *_test.cpp in the calling folder and its subfolders (tests/engine/
# mirrors the engine's rooms) becomes one test binary, every *_xtest.cpp one
# that runs against a private Xvfb; each links LIBS.
# A folder may add further tests of its own with kvr_add_test.
function(kvr_add_tests_in_folder)
  cmake_parse_arguments(F "" "" "LIBS" ${ARGN})
  kvr_glob_own_folder(plain "*_test.cpp")
  kvr_glob_own_folder(withx "*_xtest.cpp")
  foreach(src ${plain})
    get_filename_component(n ${src} NAME_WE)
    kvr_add_test(${n} SOURCES ${src} LIBS ${F_LIBS})
  endforeach()
  foreach(src ${withx})
    get_filename_component(n ${src} NAME_WE)
    kvr_add_test(${n} XVFB SOURCES ${src} LIBS ${F_LIBS} ${X11_LIBRARIES})
  endforeach()
endfunction()
