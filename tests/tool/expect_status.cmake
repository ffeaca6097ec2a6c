# cmake "-DCOMMAND=<command line>" -DSTATUS=<n> [-DSTDERR=<regex>] [-DSTDOUT=<regex>] [-DINPUT=<text>]
#       -P expect_status.cmake
# Runs COMMAND (an emulator first where there is one; one string because cmake
# itself would take an option such as -L from its command line) with INPUT and
# a line break on its standard input, and checks its exit status and what it
# wrote.
separate_arguments(command UNIX_COMMAND "${COMMAND}")
set(input_file /dev/null)
if(NOT "${INPUT}" STREQUAL "")
  string(MD5 hash "${command}${INPUT}")
  set(input_file ${CMAKE_CURRENT_BINARY_DIR}/input-${hash}.txt)
  file(WRITE ${input_file} "${INPUT}\n")
endif()
execute_process(COMMAND ${command} INPUT_FILE ${input_file}
  RESULT_VARIABLE status OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
message("status ${status}, stdout:\n${stdout}stderr:\n${stderr}")
if(NOT status EQUAL STATUS OR NOT stderr MATCHES "${STDERR}" OR NOT stdout MATCHES "${STDOUT}")
  message(FATAL_ERROR "expected status ${STATUS}, stdout matching '${STDOUT}' and stderr matching '${STDERR}'")
endif()
