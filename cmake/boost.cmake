# Boost for every build: Debian's packages natively; for the Windows builds the compiled
# parts come from scripts/build-boost-mingw.sh, run here at configure time and cached in
# the build tree (a later configure finds them built and returns at once).
# Either way the result is the imported targets Boost::serialization, Boost::filesystem,
# Boost::system and Boost::headers.
set(BOOST_COMPONENTS serialization filesystem system)

if(WIN32 AND CMAKE_CROSSCOMPILING)
  set(BOOST_MINGW_PREFIX ${CMAKE_BINARY_DIR}/boost-mingw)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env CXX=${CMAKE_CXX_COMPILER} AR=${CMAKE_AR}
            ${PROJECT_SOURCE_DIR}/scripts/build-boost-mingw.sh ${MINGW_TRIPLET} ${BOOST_MINGW_PREFIX}
    RESULT_VARIABLE boost_script_result)
  if(NOT boost_script_result EQUAL 0)
    message(FATAL_ERROR "scripts/build-boost-mingw.sh failed (${boost_script_result})")
  endif()

  # Only the prefix: the host's Boost (its CMake package and its libraries) is for Linux.
  set(Boost_NO_BOOST_CMAKE ON)
  set(Boost_NO_SYSTEM_PATHS ON)
  set(Boost_USE_STATIC_LIBS ON)
  set(Boost_INCLUDE_DIR ${BOOST_MINGW_PREFIX}/include CACHE PATH "" FORCE)
  set(Boost_LIBRARY_DIR_RELEASE ${BOOST_MINGW_PREFIX}/lib CACHE PATH "" FORCE)
  set(Boost_LIBRARY_DIR_DEBUG ${BOOST_MINGW_PREFIX}/lib CACHE PATH "" FORCE)
endif()

find_package(Boost 1.74 REQUIRED COMPONENTS ${BOOST_COMPONENTS})

if(WIN32 AND CMAKE_CROSSCOMPILING)
  # The script builds Boost.Filesystem with the BCrypt random source, as Boost's own
  # build does wherever that API exists.
  set_property(TARGET Boost::filesystem APPEND PROPERTY INTERFACE_LINK_LIBRARIES bcrypt)
endif()
