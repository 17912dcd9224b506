# Two builds of the same sources give the same executable, byte for byte: no
# link time in the PE header, and neither the checkout's folder nor the build
# tree's in anything the compiler writes.
target_link_options(Wexmoor PRIVATE -Wl,--no-insert-timestamp)
foreach(target wexmoor_portable wexmoor_win32 wexmoor_entry Wexmoor)
  target_compile_options(${target} PRIVATE
    -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
    -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
endforeach()
