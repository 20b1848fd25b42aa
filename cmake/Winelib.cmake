# Win32 executables built with Wine's winelib. They are ordinary CMake executables whose
# compile and link commands go through cmake/winelib-cxx (wineg++), so only they get the
# winelib flags; the engine library they link is compiled by CMake's C++ compiler.
#
# With -fno-short-wchar, WCHAR is char16_t and TEXT("x") is u"x": a 32-bit glibc wchar_t
# string handed to a W function is a compile error instead of silent corruption.

find_program(LUMORA_WINEGXX_PROGRAM wineg++ REQUIRED)
find_program(LUMORA_WRC_PROGRAM wrc REQUIRED)

set(LUMORA_WINELIB_LAUNCHER ${CMAKE_SOURCE_DIR}/cmake/winelib-cxx)
set(LUMORA_WINELIB_FLAGS -municode -fno-short-wchar -DUNICODE -D_UNICODE)

# lumora_winelib_executable(<target> GUI|CONSOLE <sources...>)
# Output: <target> (the wrapper script winegcc writes) and <target>.so beside it.
function(lumora_winelib_executable target kind)
  add_executable(${target} ${ARGN})
  target_compile_options(${target} PRIVATE ${LUMORA_WINELIB_FLAGS} ${LUMORA_WARNINGS})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  if(kind STREQUAL "GUI")
    target_link_options(${target} PRIVATE -municode -mwindows)
  else()
    target_link_options(${target} PRIVATE -municode -mconsole)
  endif()
  set_target_properties(${target} PROPERTIES
    CXX_COMPILER_LAUNCHER ${LUMORA_WINELIB_LAUNCHER}
    RULE_LAUNCH_LINK ${LUMORA_WINELIB_LAUNCHER}
    ADDITIONAL_CLEAN_FILES ${target}.so)
endfunction()

# lumora_winelib_objects(<target> <sources...>): Win32 sources compiled once by wineg++
# and shared by several winelib executables (the program and its tests).
function(lumora_winelib_objects target)
  add_library(${target} OBJECT ${ARGN})
  target_compile_options(${target} PRIVATE ${LUMORA_WINELIB_FLAGS} ${LUMORA_WARNINGS})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  set_target_properties(${target} PROPERTIES CXX_COMPILER_LAUNCHER ${LUMORA_WINELIB_LAUNCHER})
endfunction()

# lumora_winelib_resources(<target> <rc file>): compiles the .rc with wrc and links the .res.
function(lumora_winelib_resources target rcfile)
  get_filename_component(name ${rcfile} NAME_WE)
  get_filename_component(rcdir ${rcfile} DIRECTORY)
  # The icons, cursors and bitmaps the script names lie beside it.
  file(GLOB artwork CONFIGURE_DEPENDS ${rcdir}/*.ico ${rcdir}/*.cur ${rcdir}/*.bmp)
  set(res ${CMAKE_CURRENT_BINARY_DIR}/${name}.res)
  add_custom_command(OUTPUT ${res}
    COMMAND ${LUMORA_WRC_PROGRAM} -I${CMAKE_SOURCE_DIR} -o ${res} ${rcfile}
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    DEPENDS ${rcfile} ${CMAKE_SOURCE_DIR}/base/ids.h ${artwork}
    COMMENT "Compiling resources ${name}.rc"
    VERBATIM)
  add_custom_target(${target}_resources DEPENDS ${res})
  add_dependencies(${target} ${target}_resources)
  target_link_options(${target} PRIVATE ${res})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${res})
endfunction()
