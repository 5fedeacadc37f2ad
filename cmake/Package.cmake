# What a host developer installs (cmake --install) and what CPack zips: the two DLLs (each with its C
# and C++ runtime inside), their import libraries, the public headers (tessolin.h for any Windows
# program, the classes for hosts on the framework), a CMake package with imported targets, the demo
# host with the mingw-w64 runtime DLLs it and other C++ hosts built with mingw-w64 load, the margin
# arrow bitmap, the samples, the two example hosts and the guides.
include(CMakePackageConfigHelpers)

# Installing and packing take what the build made: build first (cmake --build), and cpack no longer
# builds every test program before it packs.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

set(TESSOLIN_CMAKE_DIR lib/cmake/Tessolin)
set(TESSOLIN_DATA_DIR share/tessolin)
set(TESSOLIN_DOC_DIR share/doc/tessolin)

install(TARGETS tessolin_framework tessolin tessolin_host
        RUNTIME DESTINATION bin
        ARCHIVE DESTINATION lib)
foreach(dll ${TESSOLIN_RUNTIME_DLLS})
  install(FILES ${CMAKE_BINARY_DIR}/bin/${dll} DESTINATION bin)
endforeach()

# The public headers: what a host's code reaches from the framework, the documents and the views,
# and the general classes (CStringEx, CUndo, CRegExp, CThreadLock). The painting surface, the line
# scanners, the byte searches and the regular expressions' matcher are the library's own.
foreach(layer framework text coloring undo regex documents views)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/${layer}/ DESTINATION include/tessolin/${layer}
          FILES_MATCHING PATTERN "*.h"
          PATTERN "posix" EXCLUDE
          PATTERN "PaintSurface.h" EXCLUDE
          PATTERN "LineScan*.h" EXCLUDE
          PATTERN "TextSearch.h" EXCLUDE
          PATTERN "KmpFind.h" EXCLUDE
          PATTERN "RegMatchState.h" EXCLUDE)
endforeach()

# The editor window's C header and the ids for resource scripts: include/tessolin is the imported
# targets' include folder.
install(FILES ${CMAKE_SOURCE_DIR}/include/tessolin/tessolin.h ${CMAKE_SOURCE_DIR}/include/tessolin/tessolin_ids.h
        DESTINATION include/tessolin)

configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/TessolinConfig.cmake.in
  ${CMAKE_BINARY_DIR}/TessolinConfig.cmake INSTALL_DESTINATION ${TESSOLIN_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/TessolinConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/TessolinConfig.cmake ${CMAKE_BINARY_DIR}/TessolinConfigVersion.cmake
        DESTINATION ${TESSOLIN_CMAKE_DIR})

install(FILES ${CMAKE_SOURCE_DIR}/host/res/arrow.bmp DESTINATION ${TESSOLIN_DATA_DIR}/res)
install(FILES ${CMAKE_SOURCE_DIR}/samples/bridge.dat ${CMAKE_SOURCE_DIR}/samples/bridge-check.out
              ${CMAKE_SOURCE_DIR}/samples/bridge-results.txt ${CMAKE_SOURCE_DIR}/samples/README.md
        DESTINATION ${TESSOLIN_DATA_DIR}/samples)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/minimal-host ${CMAKE_SOURCE_DIR}/examples/c-host
        DESTINATION ${TESSOLIN_DATA_DIR}/examples)
# The API reference, when the build tree has one (the test api_docs or scripts/api-docs.sh makes it).
install(DIRECTORY ${CMAKE_BINARY_DIR}/api-docs/html/ DESTINATION ${TESSOLIN_DOC_DIR}/api OPTIONAL)
install(FILES ${CMAKE_SOURCE_DIR}/docs/c-host.png DESTINATION ${TESSOLIN_DOC_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/docs/host-guide.md ${CMAKE_SOURCE_DIR}/docs/architecture.md
              ${CMAKE_SOURCE_DIR}/CHANGELOG.md ${CMAKE_SOURCE_DIR}/README.md
        DESTINATION ${TESSOLIN_DOC_DIR})

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tessolin)
set(CPACK_PACKAGE_VENDOR Tessolin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME ${TESSOLIN_WINDOWS_NAME})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Text-editor component for Windows hosts")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_STRIP_FILES TRUE) # the debug information stays in the build tree
include(CPack)
