# gzip_man(FILE): FILE.gz beside FILE, compressed as Debian compresses man pages (best, and
# without the name and time stamp, so that a rebuild gives the same bytes).
function(gzip_man file)
  find_program(GZIP gzip REQUIRED)
  execute_process(COMMAND ${GZIP} -9nkf ${file} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip ${file} failed: ${status}")
  endif()
endfunction()

# Run as a script (cmake -DMAN=<file> -P GzipMan.cmake) it compresses MAN.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  gzip_man(${MAN})
endif()
