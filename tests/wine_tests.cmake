# Tests of the Windows build, labelled "windows": its imports, and its runs
# under Wine in a prefix of its own inside the build tree (set up once per
# test run, since a fresh prefix takes seconds to start).
if(NOT EXISTS "${KFX_WINDOWS_EXE}")
  message(FATAL_ERROR "KFX_WINDOWS_EXE: ${KFX_WINDOWS_EXE} does not exist "
                      "(build it with scripts/build-windows)")
endif()
find_program(KFX_WINE wine REQUIRED)
find_program(KFX_MINGW_OBJDUMP x86_64-w64-mingw32-objdump REQUIRED)
set(KFX_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")

add_test(NAME windows_exe_imports
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows_exe_imports
                 ${KFX_MINGW_OBJDUMP} ${KFX_WINDOWS_EXE})
set_tests_properties(windows_exe_imports PROPERTIES LABELS windows)

add_test(NAME wineprefix_start
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/wineprefix start
                 ${KFX_WINEPREFIX})
add_test(NAME wineprefix_stop
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/wineprefix stop
                 ${KFX_WINEPREFIX})
# The prefix's set-up and clean-up require the database cluster, so that it
# is up before the first run under Wine and stays up until the last; the
# discovered tests then need only the one fixture (gtest_discover_tests does
# not pass a list of them through).
set_tests_properties(wineprefix_start PROPERTIES
  FIXTURES_SETUP wineprefix FIXTURES_REQUIRED testdb LABELS windows
  TIMEOUT 300)
set_tests_properties(wineprefix_stop PROPERTIES
  FIXTURES_CLEANUP wineprefix FIXTURES_REQUIRED testdb LABELS windows)

add_executable(kfx_wine_tests wine_test.cc e2e_support.cc)
target_link_libraries(kfx_wine_tests PRIVATE GTest::gtest_main)
add_dependencies(kfx_wine_tests Kfx28M4RBV)
target_compile_definitions(kfx_wine_tests PRIVATE
  KFX_TOOL="$<TARGET_FILE:Kfx28M4RBV>"
  KFX_TESTDB_DIR="${TESTDB_DIR}"
  KFX_WINDOWS_EXE="${KFX_WINDOWS_EXE}"
  KFX_WINE="${KFX_WINE}"
  KFX_WINEPREFIX="${KFX_WINEPREFIX}")
gtest_discover_tests(kfx_wine_tests
  DISCOVERY_MODE PRE_TEST
  PROPERTIES FIXTURES_REQUIRED wineprefix RESOURCE_LOCK testdb
             LABELS windows TIMEOUT 120)
