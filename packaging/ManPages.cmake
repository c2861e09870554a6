# Writes the man pages of tarvine from its own --help: tarvine.1.gz, and tarvine-COMMAND.1.gz for
# every command that `tarvine --help` lists, so that the pages cannot drift from the program.
# packaging/man/COMMAND.h2m, where present, adds help2man's include sections to a command's page;
# the help's "Exit status:" paragraph becomes the section EXIT STATUS.
# cmake -DTARVINE=... -DHELP2MAN=... -DGZIP=... -DVERSION=... -DOUT=... -DMAN_SOURCE=... -P ...
foreach(variable TARVINE HELP2MAN GZIP VERSION OUT MAN_SOURCE)
  if(NOT ${variable})
    message(FATAL_ERROR "${variable} is not set")
  endif()
endforeach()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output
                  ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${status}):\n${output}")
  endif()
endfunction()

# help2man runs one program with --help; a command's page runs this small script, which calls
# tarvine with the command in front.
function(write_page page program name include)
  set(more "")
  if(EXISTS ${MAN_SOURCE}/${page}.h2m)
    set(more --include=${MAN_SOURCE}/${page}.h2m)
  endif()
  run(${HELP2MAN} --no-info --no-discard-stderr --section=1 --version-string=${VERSION}
      "--source=TarvineOrderPick ${VERSION}" "--manual=TarvineOrderPick" "--name=${name}"
      --include=${include} ${more} --output=${OUT}/${page}.1 ${program})
  file(READ ${OUT}/${page}.1 roff)
  string(REPLACE ".SS \"Exit status:\"" ".SH \"EXIT STATUS\"" roff "${roff}")
  file(WRITE ${OUT}/${page}.1 "${roff}")
  run(${GZIP} -9nf ${OUT}/${page}.1)
endfunction()

file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT}/bin)
execute_process(COMMAND ${TARVINE} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${TARVINE} --help failed (${status})")
endif()

# The lines under "Subcommands:": two blanks, the name, blanks, the description.
string(REGEX REPLACE ".*\nSubcommands:\n" "" listing "${help}")
string(REGEX REPLACE "\n\n.*" "" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(commands "")
set(see_also "")
foreach(line IN LISTS lines)
  if(line MATCHES "^  ([a-z][a-z0-9-]*) +(.*)$")
    list(APPEND commands ${CMAKE_MATCH_1})
    set(description_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
    string(APPEND see_also ".BR tarvine-${CMAKE_MATCH_1} (1)\n")
  endif()
endforeach()
if(NOT commands)
  message(FATAL_ERROR "no commands found in the output of ${TARVINE} --help:\n${help}")
endif()

file(WRITE ${OUT}/tarvine.h2m "[SEE ALSO]\n${see_also}")
write_page(tarvine ${TARVINE} "order picking for outgoing truck loads" ${OUT}/tarvine.h2m)
foreach(command IN LISTS commands)
  set(program ${OUT}/bin/tarvine-${command})
  file(WRITE ${program} "#!/bin/sh\nexec '${TARVINE}' ${command} \"$@\"\n")
  file(CHMOD ${program} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  file(WRITE ${OUT}/${command}.h2m "[SEE ALSO]\n.BR tarvine (1)\n")
  # "Run the service" becomes "run the service", as NAME lines read.
  string(SUBSTRING "${description_${command}}" 0 1 first)
  string(SUBSTRING "${description_${command}}" 1 -1 rest)
  string(TOLOWER "${first}" first)
  set(name "${first}${rest}")
  write_page(tarvine-${command} ${program} "${name}" ${OUT}/${command}.h2m)
endforeach()
file(REMOVE_RECURSE ${OUT}/bin)
file(REMOVE ${OUT}/tarvine.h2m)
foreach(command IN LISTS commands)
  file(REMOVE ${OUT}/${command}.h2m)
endforeach()
file(WRITE ${OUT}/stamp "${commands}\n")
