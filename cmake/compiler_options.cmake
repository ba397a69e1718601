# Warnings for every target of ours, and the static linking that lets the Windows
# programs run with nothing but the DLLs that ship with Windows.
add_library(project_options INTERFACE)
target_compile_options(project_options INTERFACE -Wall -Wextra -Wpedantic)
target_include_directories(project_options INTERFACE ${PROJECT_SOURCE_DIR})

if(WIN32)
  # <windows.h> settings live in support/win/windows.hpp; the runtime is linked in whole.
  target_link_options(project_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()

# add_layer_library(NAME FOLDER [DEPENDS libs...]): one static library per layer folder.
# The platform half of a facility is chosen by file name: "x_win.cpp" builds only for
# Windows, "x_posix.cpp" only elsewhere. Files ending in "_main.cpp" or "_main_win.cpp"
# are program entry points and stay out of the library.
function(add_layer_library name folder)
  cmake_parse_arguments(arg "" "" "DEPENDS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "_main(_win)?\\.cpp$")
  filter_platform_sources(sources)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC project_options ${arg_DEPENDS})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE project_options ${arg_DEPENDS})
  endif()
endfunction()

# Drops from the list the sources that belong to the other platform.
function(filter_platform_sources var)
  if(WIN32)
    list(FILTER ${var} EXCLUDE REGEX "_posix(_test)?\\.cpp$")
  else()
    list(FILTER ${var} EXCLUDE REGEX "_win(_test)?\\.cpp$")
  endif()
  set(${var} ${${var}} PARENT_SCOPE)
endfunction()
