# Included by tools/kelsoft/contracts.cmake with -DMAN3=<folder>: writes the
# reference page NAME.3.gz of every name it read from kelsoft.h (its group's
# declarations as the synopsis, the group's comment as written in the header,
# unfilled, the comment's first phrase as what it does), and the overview
# libkelsoft.3.gz: the header's opening comment and every group by family.
file(REMOVE_RECURSE ${MAN3})
file(MAKE_DIRECTORY ${MAN3})

# roff: backslashes and minus signs escaped, no line read as a request.
function(roff out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(write_page name text)
  file(WRITE ${MAN3}/${name}.3 "${text}")
  execute_process(COMMAND gzip -9n ${MAN3}/${name}.3 COMMAND_ERROR_IS_FATAL ANY)
endfunction()

set(head ".TH @title@ 3 \"\" \"libkelsoft ${VERSION}\" \"libkelsoft\"\n")
set(overview "")
foreach(section IN LISTS sections)
  roff(title "${section}")
  string(APPEND overview ".SS ${title}\n")
  foreach(g IN LISTS section_${section})
    string(REGEX MATCH "^[^.:]*" what "${group_${g}_comment}")
    string(REPLACE "\n" " " what "${what}")
    string(SUBSTRING "${what}" 0 1 first)
    string(SUBSTRING "${what}" 1 -1 rest)
    string(TOLOWER "${first}" first)
    set(what "${first}${rest}")
    roff(what "${what}")
    list(JOIN group_${g}_names ", " names)
    list(JOIN group_${g}_declarations "\n" declarations)
    string(REPLACE "@semicolon@" ";" declarations "${declarations}")
    roff(declarations "${declarations}")
    roff(contract "${group_${g}_comment}")
    string(REGEX REPLACE "([A-Za-z0-9_]+)" "\\\\fB\\1\\\\fP(3)" links "${names}")
    string(APPEND overview ".TP\n${links}\n${what}\n")
    foreach(name IN LISTS group_${g}_names)
      string(REPLACE "@title@" "${name}" page "${head}")
      string(APPEND page ".SH NAME\n${names} \\- ${what}\n.SH SYNOPSIS\n.nf\n.B #include <kelsoft.h>\n.PP\n"
        "${declarations}\n.fi\n.SH DESCRIPTION\n.nf\n${contract}.fi\n"
        ".SH SEE ALSO\n.BR libkelsoft (3),\n.BR kelsoft (1)\n")
      write_page(${name} "${page}")
    endforeach()
  endforeach()
endforeach()

# The overview: the header's opening comment, then the families.
file(READ ${HEADER} header)
string(FIND "${header}" "*/" close)
string(SUBSTRING "${header}" 0 ${close} opening)
string(REGEX REPLACE "^/\\*[^\n]*\n" "" opening "${opening}")
string(REGEX REPLACE "(^|\n) \\*( |\n|$)" "\\1" opening "${opening}")
roff(opening "${opening}")
string(REPLACE "@title@" "LIBKELSOFT" page "${head}")
string(APPEND page ".SH NAME\nlibkelsoft \\- floating\\-point services of the platform\n.SH SYNOPSIS\n.nf\n"
  ".B #include <kelsoft.h>\n.PP\nLink with \\-lkelsoft (pkg\\-config kelsoft).\n.fi\n.SH DESCRIPTION\n${opening}\n"
  ".SH FUNCTIONS BY FAMILY\n${overview}.SH SEE ALSO\n.BR kelsoft (1)\n")
write_page(libkelsoft "${page}")
