# libFuzzer targets for the parts of setup.exe that read the payload, each
# registered as a short bounded run. Built with clang whatever the project's
# compiler is; skipped when clang cannot link a fuzzer here.
find_program(TSY_CLANGXX NAMES clang++ clang++-14)
if(NOT TSY_CLANGXX)
  message(STATUS "clang++ not found: fuzz runs skipped")
  return()
endif()
set(TSY_FUZZ_PROBE ${CMAKE_BINARY_DIR}/fuzz-probe)
file(WRITE ${TSY_FUZZ_PROBE}.cpp
  "#include <cstddef>\n#include <cstdint>\nextern \"C\" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n")
execute_process(
  COMMAND ${TSY_CLANGXX} -fsanitize=fuzzer,address ${TSY_FUZZ_PROBE}.cpp -o ${TSY_FUZZ_PROBE}
  RESULT_VARIABLE TSY_FUZZ_PROBE_RESULT OUTPUT_QUIET ERROR_QUIET)
if(NOT TSY_FUZZ_PROBE_RESULT EQUAL 0)
  message(STATUS "clang++ cannot build libFuzzer targets: fuzz runs skipped")
  return()
endif()

# The expander target also compresses every output, so it runs fewer inputs.
set(TSY_FUZZ_EXPAND_RUNS 50000 CACHE STRING "inputs for the fuzz_expand run in ctest")
set(TSY_FUZZ_PAYLOAD_RUNS 200000 CACHE STRING "inputs for the fuzz_payload run in ctest")
set(TSY_FUZZ_FLAGS -std=c++17 -O1 -g -Wall -Wextra -Werror -fsanitize=fuzzer,address,undefined
  -fno-sanitize-recover=all -I${PROJECT_SOURCE_DIR})

function(tsy_add_fuzzer NAME RUNS)
  set(SOURCES ${ARGN})
  list(TRANSFORM SOURCES PREPEND ${PROJECT_SOURCE_DIR}/)
  set(OUTPUT ${CMAKE_BINARY_DIR}/${NAME})
  add_custom_command(
    OUTPUT ${OUTPUT}
    COMMAND ${TSY_CLANGXX} ${TSY_FUZZ_FLAGS} ${SOURCES} -o ${OUTPUT}
    DEPENDS ${SOURCES} ${PROJECT_SOURCE_DIR}/install/SzddCodec.h ${PROJECT_SOURCE_DIR}/install/PayloadRecords.h
    VERBATIM)
  add_custom_target(${NAME} ALL DEPENDS ${OUTPUT})
  add_test(NAME ${NAME} COMMAND ${OUTPUT} -runs=${RUNS} -max_total_time=60 -seed=1 -max_len=1024)
  set_tests_properties(${NAME} PROPERTIES TIMEOUT 600)
endfunction()

tsy_add_fuzzer(fuzz_expand ${TSY_FUZZ_EXPAND_RUNS} tests/fuzz/ExpandFuzzer.cpp install/SzddCodec.cpp install/SzddCompress.cpp)
tsy_add_fuzzer(fuzz_payload ${TSY_FUZZ_PAYLOAD_RUNS} tests/fuzz/PayloadFuzzer.cpp install/PayloadRecords.cpp install/SzddCodec.cpp install/SzddCompress.cpp)
