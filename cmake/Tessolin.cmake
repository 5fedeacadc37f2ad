# Shared build rules: warnings, sanitizers, the Wine emulator, GoogleTest and the test helper.

# Every build tree compiles through ccache when it is installed, so clean builds reuse earlier compiles.
find_program(TESSOLIN_CCACHE ccache)
if(TESSOLIN_CCACHE)
  set(CMAKE_C_COMPILER_LAUNCHER ${TESSOLIN_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${TESSOLIN_CCACHE})
endif()

set(TESSOLIN_WARNINGS -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wno-unused-parameter)
if(TESSOLIN_WERROR)
  list(APPEND TESSOLIN_WARNINGS -Werror)
endif()

if(TESSOLIN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

if(TESSOLIN_FUZZ)
  # Every library carries the fuzzer's coverage instrumentation and the sanitizers, so the targets
  # are guided by the branches inside the code they drive, not only by their own.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
endif()

if(TESSOLIN_WIN32)
  # win64 (x86-64) or win32 (i686): the name of the ZIP and of the build tree.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(TESSOLIN_WINDOWS_NAME win64)
  else()
    set(TESSOLIN_WINDOWS_NAME win32)
  endif()
  # Products and tests land side by side so Wine finds every DLL without a search path.
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set(TESSOLIN_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
  # The mingw runtime DLLs go beside the executables, so host and library share one C++ runtime.
  # The GCC runtime's name follows the target's exception model: libgcc_s_seh-1.dll on x86-64,
  # libgcc_s_dw2-1.dll on i686 (libgcc_s_sjlj-1.dll from a toolchain built that way); the compiler
  # names the path of the one it has and echoes the name back for the others.
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set(TESSOLIN_RUNTIME_DLLS)
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libgcc_s_dw2-1.dll libgcc_s_sjlj-1.dll
              libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE dll_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(IS_ABSOLUTE "${dll_path}" AND EXISTS "${dll_path}")
      file(COPY ${dll_path} DESTINATION ${CMAKE_BINARY_DIR}/bin)
      list(APPEND TESSOLIN_RUNTIME_DLLS ${dll})
    endif()
  endforeach()
  foreach(dll libstdc++-6.dll libwinpthread-1.dll)
    if(NOT dll IN_LIST TESSOLIN_RUNTIME_DLLS)
      message(FATAL_ERROR "${CMAKE_CXX_COMPILER} has no ${dll}")
    endif()
  endforeach()
  if(NOT TESSOLIN_RUNTIME_DLLS MATCHES "libgcc_s_")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} has no libgcc_s_*.dll")
  endif()
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

# Portable layer library: name, sources...; links what follows LIBS.
function(tessolin_library name)
  cmake_parse_arguments(ARG "SHARED" "" "SOURCES;LIBS;DEFINES" ${ARGN})
  if(ARG_SHARED AND TESSOLIN_WIN32)
    add_library(${name} SHARED ${ARG_SOURCES})
  else()
    add_library(${name} STATIC ${ARG_SOURCES})
  endif()
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${TESSOLIN_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  if(ARG_DEFINES)
    target_compile_definitions(${name} PRIVATE ${ARG_DEFINES})
  endif()
endfunction()

# GoogleTest: Debian's package natively, compiled from its sources for Windows.
if(TESSOLIN_WIN32)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(TESSOLIN_GTEST_LIBS gtest gmock gtest_main)
else()
  find_package(GTest REQUIRED)
  set(TESSOLIN_GTEST_LIBS GTest::gtest GTest::gmock GTest::gtest_main)
endif()

# One test program = one ctest entry (one Wine start per program, never one per case).
function(tessolin_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${TESSOLIN_WARNINGS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${TESSOLIN_GTEST_LIBS})
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  if(TESSOLIN_SANITIZE)
    # Allocation-failure paths are tested: an impossible request must return null, not abort.
    set_tests_properties(${name} PROPERTIES ENVIRONMENT
      "ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1")
  endif()
  # The documents' recovery files go to the build tree, never to the profile's application data (under
  # Wine the build tree is on drive Z:).
  set(recovery_dir ${CMAKE_BINARY_DIR}/test-recovery)
  if(TESSOLIN_WIN32)
    set(recovery_dir Z:${recovery_dir})
  endif()
  set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "TESSOLIN_RECOVERY_DIR=${recovery_dir}")
endfunction()
