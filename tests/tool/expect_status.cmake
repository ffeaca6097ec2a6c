# cmake -DSTATUS=<n> [-DSTDERR=<regex>] [-DSTDOUT=<regex>] [-DINPUT=<text>] [-DEMULATOR=<command line>]
#       -P expect_status.cmake -- PROGRAM ARGS...
# Runs PROGRAM (under EMULATOR when given), with INPUT on its standard input
# ("\n" for a line break), and checks its exit status and what it wrote. The
# emulator comes as one string because cmake itself would take an option such
# as -L from its command line.
separate_arguments(command UNIX_COMMAND "${EMULATOR}")
set(after_dashes FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
  if(after_dashes)
    list(APPEND command "${CMAKE_ARGV${i}}")
  elseif(CMAKE_ARGV${i} STREQUAL "--")
    set(after_dashes TRUE)
  endif()
endforeach()
set(input_file /dev/null)
if(DEFINED INPUT)
  string(MD5 hash "${command}${INPUT}")
  set(input_file ${CMAKE_CURRENT_BINARY_DIR}/input-${hash}.txt)
  string(REPLACE "\\n" "\n" text "${INPUT}")
  file(WRITE ${input_file} "${text}\n")
endif()
execute_process(COMMAND ${command} INPUT_FILE ${input_file}
  RESULT_VARIABLE status OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
message("status ${status}, stdout:\n${stdout}stderr:\n${stderr}")
if(NOT status EQUAL STATUS OR NOT stderr MATCHES "${STDERR}" OR NOT stdout MATCHES "${STDOUT}")
  message(FATAL_ERROR "expected status ${STATUS}, stdout matching '${STDOUT}' and stderr matching '${STDERR}'")
endif()
