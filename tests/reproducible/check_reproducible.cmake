# Builds Wexmoor.exe again from SOURCE_DIR in the fresh build tree SCRATCH_DIR,
# with the generator, toolchain and build type of the build under test, and
# compares it byte for byte with EXPECTED, that build's executable.
file(REMOVE_RECURSE ${SCRATCH_DIR})
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${SCRATCH_DIR} -G ${GENERATOR}
          -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM} -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}
          -DCMAKE_BUILD_TYPE=${BUILD_TYPE}
  RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(failed)
  message(FATAL_ERROR "configuring the second build failed:\n${output}")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} --build ${SCRATCH_DIR} --target Wexmoor
  RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(failed)
  message(FATAL_ERROR "the second build failed:\n${output}")
endif()

set(second ${SCRATCH_DIR}/Wexmoor.exe)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${EXPECTED} ${second} RESULT_VARIABLE different)
if(different)
  # Where they differ tells what leaked in; in a MinGW executable, bytes 137 to
  # 140 (counted from 1) are the link time.
  execute_process(COMMAND cmp -l ${EXPECTED} ${second} COMMAND head -n 8 OUTPUT_VARIABLE offsets)
  message(FATAL_ERROR "two builds of the same sources differ:\n${EXPECTED}\n${second}\n"
                      "first differing bytes (position, octal value in each):\n${offsets}")
endif()
file(REMOVE_RECURSE ${SCRATCH_DIR})
message(STATUS "identical: ${EXPECTED} and a second build")
