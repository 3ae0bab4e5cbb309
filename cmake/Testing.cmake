# One helper registers every test binary. Windows binaries run under Wine (the toolchain's
# emulator) inside the session that the `wine` fixture starts once and stops at the end.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${JC_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

if(CMAKE_CROSSCOMPILING_EMULATOR)
  set(JC_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
  set(JC_SESSION ${CMAKE_SOURCE_DIR}/tools/winesession)
  add_test(NAME wine_session_start COMMAND ${JC_SESSION} start)
  add_test(NAME wine_session_stop COMMAND ${JC_SESSION} stop)
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine
                       ENVIRONMENT "JC_WINE_DIR=${JC_WINE_DIR}" TIMEOUT 180)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine
                       ENVIRONMENT "JC_WINE_DIR=${JC_WINE_DIR}")
endif()

# jc_add_test(<name> SOURCES <files...> LIBS <libraries...> [ARGS <arguments...>]
#             [ENVIRONMENT <VAR=value...>])
function(jc_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "SOURCES;LIBS;ARGS;ENVIRONMENT")
  add_executable(${name} ${ARG_SOURCES})
  if(WIN32)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/test_main_win.cpp)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE JC_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  jc_add_test_run(${name} ${name} ARGS ${ARG_ARGS} ENVIRONMENT ${ARG_ENVIRONMENT})
endfunction()

# One more CTest entry for a test binary, with its own arguments and environment.
# jc_add_test_run(<test name> <binary target> [ARGS ...] [ENVIRONMENT ...])
function(jc_add_test_run name target)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "" "" "ARGS;ENVIRONMENT")
  add_test(NAME ${name} COMMAND ${target} ${ARG_ARGS})
  set_tests_properties(${name} PROPERTIES TIMEOUT 180)
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine
                         ENVIRONMENT "JC_WINE_DIR=${JC_WINE_DIR};${ARG_ENVIRONMENT}")
  elseif(ARG_ENVIRONMENT)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
  endif()
endfunction()
