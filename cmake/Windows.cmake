# setup.exe and the Windows-side tests, cross-compiled with mingw-w64.
set(TSY_PAYLOAD "" CACHE FILEPATH "payload blob (built by tsypack) for resource 129")
if(NOT TSY_PAYLOAD)
  message(FATAL_ERROR "TSY_PAYLOAD must name the payload built by tsypack")
endif()

set(TSY_WARNINGS -Wall -Wextra -Werror)
# One file that imports only what Windows ships: no libstdc++, libgcc or winpthread DLL.
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -s)

add_subdirectory(framework)
add_subdirectory(app)
add_subdirectory(resources)

add_executable(setup WIN32 app/SetupApp.cpp framework/AppMain.cpp framework/TerminateHandler.cpp)
target_link_libraries(setup PRIVATE tsyresources tsysetup)
set_target_properties(setup PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
target_compile_options(setup PRIVATE ${TSY_WARNINGS})

option(TSY_WINDOWS_TESTS "build the Windows-side tests (run under Wine)" OFF)
if(TSY_WINDOWS_TESTS)
  include(cmake/WindowsTests.cmake OPTIONAL)
  include(cmake/WindowsTzTests.cmake)
endif()
