# Windows-side tests, run under Wine: every gtest case becomes its own ctest test that
# tests/wine/run.sh starts in a fresh copy of the template prefix (tests/wine/env.sh).
set(TSY_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources, built with the cross compiler")
set(TSY_WINE_RUN ${PROJECT_SOURCE_DIR}/tests/wine/run.sh)
set(TSY_TEST_TIMEOUT 180)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
add_subdirectory(${TSY_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# mingw's win32 thread model has no std::mutex, on which gtest builds its Notification.
target_compile_options(gtest PUBLIC
    "$<$<COMPILE_LANGUAGE:CXX>:SHELL:-include ${PROJECT_SOURCE_DIR}/tests/wine/GtestWin32Port.h>")

include(GoogleTest)

# Registers each case of a gtest exe as a ctest test run under Wine; extra arguments are
# test properties (e.g. ENVIRONMENT ...).
function(tsy_add_wine_tests target)
    get_target_property(emulator ${target} CROSSCOMPILING_EMULATOR)
    if(NOT emulator)
        set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR ${TSY_WINE_RUN})
    endif()
    gtest_discover_tests(${target}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 120
        NO_PRETTY_VALUES
        PROPERTIES TIMEOUT ${TSY_TEST_TIMEOUT} ${ARGN})
endfunction()

# Unit tests of setup's own code; they carry setup's resources (dialog 102, icon 128, payload 129).
file(GLOB TSY_WIN_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win/*Tests.cpp)
if(TSY_WIN_TEST_SOURCES)
    add_executable(tsy_wintests ${TSY_WIN_TEST_SOURCES})
    target_link_libraries(tsy_wintests PRIVATE tsysetup tsyencoder tsyresources GTest::gtest_main)
    target_compile_options(tsy_wintests PRIVATE ${TSY_WARNINGS})
    tsy_add_wine_tests(tsy_wintests ENVIRONMENT "TZ=Europe/Berlin")
endif()

# The UI driver: a library for the scenarios and a console program for scripts.
add_library(tsyuidriver STATIC ${PROJECT_SOURCE_DIR}/tests/driver/UiDriver.cpp)
target_include_directories(tsyuidriver PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(tsyuidriver PRIVATE ${TSY_WARNINGS})
target_link_libraries(tsyuidriver PUBLIC user32 gdi32 kernel32)

add_executable(tsydriver ${PROJECT_SOURCE_DIR}/tests/driver/DriverMain.cpp)
target_link_libraries(tsydriver PRIVATE tsyuidriver)
target_compile_options(tsydriver PRIVATE ${TSY_WARNINGS})

add_executable(tsyboxprobe WIN32 ${PROJECT_SOURCE_DIR}/tests/driver/BoxProbe.cpp)
target_compile_options(tsyboxprobe PRIVATE ${TSY_WARNINGS})

# End-to-end scenarios against the real setup.exe (and the driver's own checks).
file(GLOB TSY_SCENARIO_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/scenarios/*.cpp)
if(TSY_SCENARIO_SOURCES)
    add_executable(tsy_scenarios ${TSY_SCENARIO_SOURCES})
    target_link_libraries(tsy_scenarios PRIVATE tsyuidriver advapi32 GTest::gtest_main)
    target_compile_options(tsy_scenarios PRIVATE ${TSY_WARNINGS})
    add_dependencies(tsy_scenarios setup tsyboxprobe)
    # tsyboxprobe.exe is looked for beside the scenario exe.
    set_target_properties(tsy_scenarios tsyboxprobe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
    # A zone with summer time in August, so the release stamp is checked where it matters.
    # (Set through the emulator: a second ENVIRONMENT entry would not survive test discovery.)
    set_target_properties(tsy_scenarios PROPERTIES CROSSCOMPILING_EMULATOR "env;TZ=Europe/Berlin;${TSY_WINE_RUN}")
    tsy_add_wine_tests(tsy_scenarios ENVIRONMENT "TSY_SETUP_EXE=$<TARGET_FILE:setup>")
endif()
