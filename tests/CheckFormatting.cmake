# Fails when a source file differs from what .clang-format makes of it.
file(GLOB_RECURSE sources ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/tests/*.cpp
     ${SOURCE_DIR}/tests/*.h ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/bench/*.h ${SOURCE_DIR}/tools/*.cpp
     ${SOURCE_DIR}/tools/*.h)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${sources} RESULT_VARIABLE result ERROR_VARIABLE report)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Files need clang-format:\n${report}")
endif()
