# Makes the bash completion and the man page of mipofc-cli from the built program:
#   cmake -DCLI=<mipofc-cli> -DTEMPLATE=<mipofc-cli.1.in> -DVERSION=<x.y>
#         -DCOMPLETION=<out> -DMAN=<out.1> -P CliDocs.cmake
# The man page gets its SYNOPSIS, COMMANDS and OPTIONS lists from the program and is gzipped
# beside itself (MAN.gz) as Debian installs man pages.
foreach(var CLI TEMPLATE VERSION COMPLETION MAN)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CliDocs.cmake: ${var} is not given")
  endif()
endforeach()

execute_process(COMMAND ${CLI} --print-bash-completion OUTPUT_FILE ${COMPLETION} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${CLI} --print-bash-completion failed: ${status}")
endif()

foreach(section synopsis commands options)
  string(TOUPPER ${section} name)
  execute_process(COMMAND ${CLI} --print-man-section ${section} OUTPUT_VARIABLE ${name} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CLI} --print-man-section ${section} failed: ${status}")
  endif()
  string(STRIP "${${name}}" ${name})
endforeach()
configure_file(${TEMPLATE} ${MAN} @ONLY)

include(${CMAKE_CURRENT_LIST_DIR}/GzipMan.cmake)
gzip_man(${MAN})
