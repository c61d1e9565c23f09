# Run by CPack on the staged files before it builds the Debian package, to finish them
# as Debian's own packaging tools do: the programs, already stripped, lose the compiler's
# .comment and .note sections, and the manual pages and the changelog are compressed
# with gzip's highest compression and no time stamp, so the package is the same on
# every build.
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*")
foreach(program IN LISTS programs)
  execute_process(COMMAND ${CPACK_PAVILORE_STRIP} --remove-section=.comment --remove-section=.note "${program}"
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${program}: strip failed")
  endif()
endforeach()

file(GLOB_RECURSE pages "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/share/man/man*/*")
file(GLOB_RECURSE changelogs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/share/doc/*/changelog")
foreach(file IN LISTS pages changelogs)
  if(NOT file MATCHES "\\.gz$")
    execute_process(COMMAND gzip -9nf "${file}" RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "${file}: gzip failed")
    endif()
  endif()
endforeach()
