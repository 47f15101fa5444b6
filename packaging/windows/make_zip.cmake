# cmake -DEXE=.. -DHOST_BIN=.. -DSOURCE=.. -DSTAGE=.. -DZIP=.. -DPYTHON=.. -P make_zip.cmake: lays out the
# program folder as Windows gets it (Vantle.exe with Study\, Pic\ and the own book beside it,
# the licences and 说明.txt) in STAGE, then zips it with zip_folder.py (which sets the UTF-8
# flag of the Chinese names, as Info-ZIP's zip does not).
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
file(COPY_FILE ${EXE} ${STAGE}/Vantle.exe)
file(COPY ${HOST_BIN}/Study DESTINATION ${STAGE})
file(COPY ${HOST_BIN}/Pic DESTINATION ${STAGE} FILES_MATCHING PATTERN "*.jpg")
file(COPY "${HOST_BIN}/《My词库》.txt" ${SOURCE}/COPYING ${SOURCE}/LICENSES
     ${SOURCE}/packaging/windows/说明.txt DESTINATION ${STAGE})
file(REMOVE ${ZIP})
execute_process(COMMAND ${PYTHON} ${SOURCE}/packaging/windows/zip_folder.py ${STAGE} ${ZIP}
                COMMAND_ERROR_IS_FATAL ANY)

# The installer's uninstall lines: each file, then each folder, deepest first (RMDir without
# /r leaves a folder that still holds something of the learner's).
file(GLOB_RECURSE files RELATIVE ${STAGE} ${STAGE}/*)
file(GLOB_RECURSE folders LIST_DIRECTORIES true RELATIVE ${STAGE} ${STAGE}/*)
list(REMOVE_ITEM folders ${files})
list(SORT folders ORDER DESCENDING)
set(lines "")
foreach(name ${files})
  string(REPLACE "/" "\\" name "${name}")
  string(APPEND lines "Delete \"$INSTDIR\\${name}\"\n")
endforeach()
foreach(name ${folders})
  string(REPLACE "/" "\\" name "${name}")
  string(APPEND lines "RMDir \"$INSTDIR\\${name}\"\n")
endforeach()
file(WRITE ${STAGE}/../uninstall.nsh "${lines}")
