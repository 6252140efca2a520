# What the installer and uninstaller runtimes share as Win32 programs, cross-built with
# mingw-w64 (each is an external project of the main build, once per toolchain: see
# runtime/CMakeLists.txt). Small and self-contained: static C++ runtime, no exceptions, RTTI
# or iostreams, stripped, only what is used kept.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
option(SETWRIGHT_WERROR "Treat compiler warnings as errors" OFF)
get_filename_component(setwright_top ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
include(${setwright_top}/cmake/SetwrightWarnings.cmake)

# The product version and the icon, which the main build passes in (runtime/CMakeLists.txt).
# A runtime built on its own reads the version from the top CMakeLists.txt and has no icon.
set(SETWRIGHT_VERSION "" CACHE STRING "Product version of the runtime's version information")
set(SETWRIGHT_ICON "" CACHE FILEPATH "The runtime's icon (.ico); empty for none")
if(SETWRIGHT_VERSION STREQUAL "")
  file(STRINGS ${setwright_top}/CMakeLists.txt setwright_project REGEX "^project\\(Setwright VERSION ")
  string(REGEX MATCH "VERSION ([0-9.]+)" setwright_project "${setwright_project}")
  set(SETWRIGHT_VERSION ${CMAKE_MATCH_1})
endif()
if(NOT SETWRIGHT_VERSION MATCHES "^[0-9]+(\\.[0-9]+)?(\\.[0-9]+)?(\\.[0-9]+)?$")
  message(FATAL_ERROR "The runtime's version \"${SETWRIGHT_VERSION}\" is not one to four numbers")
endif()

# setwright_runtime_resources(<target>): compiles resources/Runtime.rc (manifest, icon,
# version information) with the toolchain's windres into an object linked into the target.
# windres takes none of the target's C++ options, so it runs as a command of its own, which
# also names every file the script pulls in.
function(setwright_runtime_resources target)
  set(resources ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/resources)
  string(REPLACE "." ";" numbers ${SETWRIGHT_VERSION})
  list(LENGTH numbers count)
  while(count LESS 4)
    list(APPEND numbers 0)
    math(EXPR count "${count} + 1")
  endwhile()
  string(REPLACE ";" "," SETWRIGHT_VERSION_NUMBERS "${numbers}")
  string(REPLACE ";" "." SETWRIGHT_VERSION_TEXT "${numbers}")
  set(SETWRIGHT_FILE_DESCRIPTION "Setwright ${target}")
  set(SETWRIGHT_MANIFEST_FILE ${resources}/Runtime.manifest)
  set(inputs ${resources}/Runtime.rc ${SETWRIGHT_MANIFEST_FILE})
  if(SETWRIGHT_ICON STREQUAL "")
    message(STATUS "No SETWRIGHT_ICON: the ${target} runtime is built without an icon")
    set(SETWRIGHT_ICON_LINE "/* no icon */")
  else()
    set(SETWRIGHT_ICON_LINE "#define SETWRIGHT_ICON_FILE \"${SETWRIGHT_ICON}\"")
    list(APPEND inputs ${SETWRIGHT_ICON})
  endif()
  set(header ${CMAKE_CURRENT_BINARY_DIR}/resources/RuntimeResources.h)
  configure_file(${resources}/RuntimeResources.h.in ${header} @ONLY)
  set(object ${CMAKE_CURRENT_BINARY_DIR}/resources/Runtime.res.o)
  add_custom_command(
    OUTPUT ${object}
    COMMAND ${CMAKE_RC_COMPILER} -O coff -I ${CMAKE_CURRENT_BINARY_DIR}/resources ${resources}/Runtime.rc ${object}
    DEPENDS ${inputs} ${header}
    COMMENT "Compiling the resources of the ${target} runtime"
    VERBATIM)
  target_sources(${target} PRIVATE ${object})
endfunction()

# setwright_runtime_program(<target>): the build settings of a runtime, its output name
# (SETWRIGHT_RUNTIME_NAME), and the check of its size marker: the builder writes the image's
# length into the first size marker it finds, so the marker array must be that first
# occurrence. The check runs on every build, so the build always prints the runtime's size.
function(setwright_runtime_program target)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${SETWRIGHT_RUNTIME_NAME})
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0602)
  target_compile_options(${target} PRIVATE -Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
                         -ffunction-sections -fdata-sections)
  target_link_options(${target} PRIVATE -municode -static -static-libgcc -static-libstdc++ -s -Wl,--gc-sections)
  setwright_warnings(${target})
  setwright_runtime_resources(${target})
  add_custom_target(check_image ALL
    COMMAND ${CMAKE_COMMAND} -DIMAGE=$<TARGET_FILE:${target}> -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/CheckImage.cmake
    DEPENDS ${target}
    VERBATIM)
endfunction()
