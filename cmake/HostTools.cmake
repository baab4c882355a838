# The packer, and the payload it makes from the product files.
add_executable(tsypack
  tools/tsypack/TsyPack.cpp
  tools/tsypack/FileIo.cpp
  tools/tsypack/Payload.cpp
  tools/tsypack/CheckedExpand.cpp)
target_link_libraries(tsypack PRIVATE tsyencoder)
target_compile_options(tsypack PRIVATE -Wall -Wextra -Werror)

# Record i is installed as the i-th name of setup.exe's file table.
set(TSY_PRODUCT_FILES
  ${PROJECT_SOURCE_DIR}/product/TSY.exe
  ${PROJECT_SOURCE_DIR}/product/TSY.hlp
  ${PROJECT_SOURCE_DIR}/product/TSY.cnt
  ${PROJECT_SOURCE_DIR}/product/Uninstall.exe)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/payload.bin
  COMMAND tsypack pack -o ${CMAKE_BINARY_DIR}/payload.bin ${TSY_PRODUCT_FILES}
  DEPENDS tsypack ${TSY_PRODUCT_FILES}
  COMMENT "Packing the product files into payload.bin"
  VERBATIM)
add_custom_target(payload ALL DEPENDS ${CMAKE_BINARY_DIR}/payload.bin)
