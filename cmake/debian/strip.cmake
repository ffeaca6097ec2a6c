# Run by cpack on the staged files before it packs them: strips them as
# Debian's dh_strip does. Programs and shared libraries keep only the symbols
# their relocations need, archives lose their debugging sections, and all
# lose the compiler's .comment and .note sections.
file(GLOB_RECURSE files LIST_DIRECTORIES false ${CPACK_TEMPORARY_DIRECTORY}/*)
foreach(file IN LISTS files)
  if(IS_SYMLINK ${file})
    continue()
  endif()
  file(READ ${file} magic LIMIT 8 HEX)
  if(magic MATCHES "^7f454c46")
    set(how --strip-unneeded)
  elseif(magic STREQUAL "213c617263683e0a")
    set(how --strip-debug --enable-deterministic-archives)
  else()
    continue()
  endif()
  execute_process(COMMAND ${CPACK_KEL_STRIP} ${how} --remove-section=.comment --remove-section=.note ${file}
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
