# Runs the Windows test programs of this build under Wine, in a private prefix inside
# the build tree. The fixture "wine" creates the prefix once, switches on the relay
# trace of user32.MessageBoxA (seen only with WINEDEBUG=+relay) and starts a persistent
# server with its descriptors redirected, so that CTest never waits on Wine's services.
set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(WINE_RUN ${CMAKE_BINARY_DIR}/wine-run.sh)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${WINE_RUN} @ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_RUN})

add_test(NAME wine.start COMMAND ${CMAKE_CURRENT_LIST_DIR}/wine-prefix.sh start ${WINE_PREFIX})
add_test(NAME wine.stop COMMAND ${CMAKE_CURRENT_LIST_DIR}/wine-prefix.sh stop ${WINE_PREFIX})
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)

# Marks a test as one that runs Windows programs in this build's prefix.
function(wine_test_properties name)
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600)
endfunction()
