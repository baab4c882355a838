# Checks of the built setup.exe files (dialog, icon, version block, payload, PE
# header and imports), run on the host because they only read the files.
# A check is registered only when the paths it needs are given.

if(NOT DEFINED TSY_WIN32_EXE)
  set(TSY_WIN32_EXE "" CACHE FILEPATH "32-bit setup.exe to check")
endif()
if(NOT DEFINED TSY_WIN64_EXE)
  set(TSY_WIN64_EXE "" CACHE FILEPATH "64-bit setup.exe to check")
endif()
if(NOT DEFINED TSY_PAYLOAD_FILE)
  set(TSY_PAYLOAD_FILE "" CACHE FILEPATH "payload file linked into setup.exe as resource 129")
endif()

find_package(Python3 COMPONENTS Interpreter)
if(NOT Python3_Interpreter_FOUND)
  message(STATUS "No Python 3: resource checks not registered")
  return()
endif()

# The committed icon must be the one the icon tool draws.
add_test(NAME resources.icon
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/mkicon/mkicon.py
          --verify ${PROJECT_SOURCE_DIR}/resources/setup.ico)

if(NOT TSY_PAYLOAD_FILE)
  if(TSY_WIN32_EXE OR TSY_WIN64_EXE)
    message(STATUS "No TSY_PAYLOAD_FILE: checks of setup.exe not registered")
  endif()
  return()
endif()
foreach(arch win32 win64)
  string(TOUPPER ${arch} upper_arch)
  set(exe "${TSY_${upper_arch}_EXE}")
  if(exe)
    add_test(NAME resources.${arch}
      COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/resources/check_resources.py
              --exe ${exe} --arch ${arch} --payload ${TSY_PAYLOAD_FILE})
  endif()
endforeach()
