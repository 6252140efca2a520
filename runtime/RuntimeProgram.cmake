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
  add_custom_target(check_image ALL
    COMMAND ${CMAKE_COMMAND} -DIMAGE=$<TARGET_FILE:${target}> -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/CheckImage.cmake
    DEPENDS ${target}
    VERBATIM)
endfunction()
