# Host tests: the codec and record layout under sanitizers, the packer's
# command line, outside SZDD decoders, and short fuzzing runs.
set(TSY_GTEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT EXISTS ${TSY_GTEST_DIR}/CMakeLists.txt)
  message(STATUS "GoogleTest not found in ${TSY_GTEST_DIR}: host tests skipped")
  return()
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${TSY_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

find_library(TSY_MSPACK_LIBRARY mspack)
find_path(TSY_MSPACK_INCLUDE mspack.h)
if(NOT TSY_MSPACK_LIBRARY OR NOT TSY_MSPACK_INCLUDE)
  message(FATAL_ERROR "libmspack (libmspack-dev) is needed by the host tests")
endif()

# The codec is compiled again here so that the sanitizers watch its every access.
set(TSY_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_executable(tsy_host_tests
  install/SzddCodec.cpp
  install/SzddCompress.cpp
  install/PayloadRecords.cpp
  tests/host/TestData.cpp
  tests/host/SzddCodecTest.cpp
  tests/host/PayloadRecordsTest.cpp
  tests/host/TsyPackTest.cpp
  tests/host/OracleTest.cpp)
target_include_directories(tsy_host_tests PRIVATE ${PROJECT_SOURCE_DIR} ${TSY_MSPACK_INCLUDE})
target_compile_definitions(tsy_host_tests PRIVATE
  TSYPACK_PATH="$<TARGET_FILE:tsypack>"
  TSY_PRODUCT_DIR="${PROJECT_SOURCE_DIR}/product")
target_compile_options(tsy_host_tests PRIVATE -O2 -Wall -Wextra -Werror ${TSY_SANITIZE})
target_link_options(tsy_host_tests PRIVATE ${TSY_SANITIZE})
target_link_libraries(tsy_host_tests PRIVATE gtest_main ${TSY_MSPACK_LIBRARY})
add_dependencies(tsy_host_tests tsypack)

add_test(NAME codec COMMAND tsy_host_tests --gtest_filter=SzddCodec.*:PayloadRecords.*)
add_test(NAME tsypack COMMAND tsy_host_tests --gtest_filter=CTsyPackTest.*)
add_test(NAME oracle_native COMMAND tsy_host_tests --gtest_filter=COracleTest.*:-*WineLz32*)

# Wine's LZ32 as a third decoder: a tiny Windows program run in a prefix of
# our own, made once per test run by a fixture.
find_program(TSY_MINGW64_GCC x86_64-w64-mingw32-gcc)
set(TSY_WINE64 /usr/lib/wine/wine64)
if(TSY_MINGW64_GCC AND EXISTS ${TSY_WINE64})
  set(TSY_LZ32EXPAND ${CMAKE_BINARY_DIR}/lz32expand.exe)
  add_custom_command(
    OUTPUT ${TSY_LZ32EXPAND}
    COMMAND ${TSY_MINGW64_GCC} -O2 -Wall -Wextra -Werror -o ${TSY_LZ32EXPAND}
            ${PROJECT_SOURCE_DIR}/tests/oracle/lz32expand.c -llz32
    DEPENDS ${PROJECT_SOURCE_DIR}/tests/oracle/lz32expand.c
    VERBATIM)
  add_custom_target(lz32expand ALL DEPENDS ${TSY_LZ32EXPAND})

  set(TSY_ORACLE_PREFIX ${CMAKE_BINARY_DIR}/oracle-wineprefix)
  add_test(NAME oracle_wine_prefix COMMAND ${PROJECT_SOURCE_DIR}/tests/oracle/make-prefix.sh ${TSY_ORACLE_PREFIX})
  add_test(NAME oracle_wine_end COMMAND ${PROJECT_SOURCE_DIR}/tests/oracle/end-prefix.sh ${TSY_ORACLE_PREFIX})
  add_test(NAME oracle_lz32 COMMAND tsy_host_tests --gtest_filter=COracleTest.WineLz32*)
  set_tests_properties(oracle_wine_prefix PROPERTIES FIXTURES_SETUP wineprefix TIMEOUT 120)
  set_tests_properties(oracle_wine_end PROPERTIES FIXTURES_CLEANUP wineprefix)
  set_tests_properties(oracle_lz32 PROPERTIES FIXTURES_REQUIRED wineprefix
    ENVIRONMENT "TSY_WINEPREFIX=${TSY_ORACLE_PREFIX};TSY_LZ32EXPAND=${TSY_LZ32EXPAND}")
else()
  message(STATUS "x86_64-w64-mingw32-gcc or wine64 missing: the LZ32 oracle is skipped")
endif()

include(${PROJECT_SOURCE_DIR}/tests/fuzz/FuzzTargets.cmake)
