# cmake -DSTATUS=<n> -DSTDERR=<regex> [-DEMULATOR=<command line>] -P expect_status.cmake -- PROGRAM ARGS...
# Runs PROGRAM (under EMULATOR when given) and checks its exit status and what
# it wrote on stderr. The emulator comes as one string because cmake itself
# would take an option such as -L from its command line.
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
execute_process(COMMAND ${command} RESULT_VARIABLE status ERROR_VARIABLE stderr)
message("status ${status}, stderr:\n${stderr}")
if(NOT status EQUAL STATUS OR NOT stderr MATCHES "${STDERR}")
  message(FATAL_ERROR "expected status ${STATUS} and stderr matching '${STDERR}'")
endif()
