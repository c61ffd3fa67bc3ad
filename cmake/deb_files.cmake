# Run by CPack on the staged files, before the Debian package is made of them:
# manual pages and the changelog compressed as Debian wants them, without a
# time stamp, so that the package is the same for the same sources.
file(GLOB_RECURSE pages "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/share/man/man1/*.1")
set(doc "")
file(GLOB_RECURSE copyright "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/share/doc/zoomwright/copyright")
if(copyright)
  get_filename_component(doc "${copyright}" DIRECTORY)
  configure_file("${CPACK_ZW_DEB_CHANGELOG}" "${doc}/changelog" COPYONLY)
  list(APPEND pages "${doc}/changelog")
endif()
foreach(page ${pages})
  execute_process(COMMAND gzip -9nf "${page}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "Cannot compress ${page}")
  endif()
endforeach()
