# Read by cpack as it starts: the date of the package's files and archives.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C "${CPACK_GRAFOLUX_FUENTE}" log -1 --format=%ct OUTPUT_VARIABLE fecha
                  OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE estado ERROR_QUIET)
  if(estado EQUAL 0 AND fecha)
    set(ENV{SOURCE_DATE_EPOCH} "${fecha}")
  endif()
endif()
