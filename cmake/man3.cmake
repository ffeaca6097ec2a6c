# cmake -DCONTRACTS=contracts.inc -DOUTPUT=<folder> -DVERSION=<release> -P man3.cmake
# Writes the reference page NAME.3.gz of every name contracts.cmake found in
# kelsoft.h (the text `kelsoft help NAME` prints): the declaration as the
# synopsis, the contract as written in the header, unfilled.
cmake_minimum_required(VERSION 3.25)
file(READ ${CONTRACTS} rest)
file(REMOVE_RECURSE ${OUTPUT})
file(MAKE_DIRECTORY ${OUTPUT})
set(end_mark ")kel\"},\n")
string(LENGTH "${end_mark}" end_length)
while(TRUE)
  string(FIND "${rest}" "${end_mark}" end)
  if(end EQUAL -1)
    break()
  endif()
  string(SUBSTRING "${rest}" 0 ${end} entry)
  math(EXPR next "${end} + ${end_length}")
  string(SUBSTRING "${rest}" ${next} -1 rest)
  string(REGEX MATCH "^{\"([A-Za-z0-9_]+)\", R\"kel\\(" head "${entry}")
  set(name ${CMAKE_MATCH_1})
  string(LENGTH "${head}" head_length)
  string(SUBSTRING "${entry}" ${head_length} -1 text)
  # roff: backslashes and minus signs escaped, no line read as a request.
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  string(FIND "${text}" "\n\n" split)
  string(SUBSTRING "${text}" 0 ${split} declaration)
  math(EXPR split "${split} + 2")
  string(SUBSTRING "${text}" ${split} -1 contract)
  string(STRIP "${contract}" contract)
  # The section's title ("Decimal text parser.") says what the name is for.
  string(FIND "${contract}" "\n\n" title REVERSE)
  math(EXPR title "${title} + 2")
  string(SUBSTRING "${contract}" ${title} -1 what)
  string(REGEX REPLACE "\n.*" "" what "${what}")
  string(REGEX REPLACE "\\.$" "" what "${what}")
  string(TOLOWER "${what}" what)
  file(WRITE ${OUTPUT}/${name}.3 ".TH ${name} 3 \"\" \"libkelsoft ${VERSION}\" \"libkelsoft\"
.SH NAME
${name} \\- ${what}
.SH SYNOPSIS
.nf
.B #include <kelsoft.h>
.PP
${declaration}
.fi
.SH DESCRIPTION
.nf
${contract}
.fi
.SH SEE ALSO
.BR kelsoft (1)
")
  execute_process(COMMAND gzip -9n ${OUTPUT}/${name}.3 COMMAND_ERROR_IS_FATAL ANY)
endwhile()
