# Installs the build into a staging folder and checks the installed tree and the desktop
# entry. -DBUILD=<build folder> -DSTAGE=<empty folder> -DPREFIX=<prefix> -DXDG=<data dir>
file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE}
                        ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
set(root ${STAGE}${PREFIX})
foreach(f Ostrel dll/Tamberlo.so PlugDll/SaveOptionXml.so lib/libRastmond.so RC
          "sys/soft/Ostrel PDF to JPEG/config.xml" "sys/soft/Ostrel PDF to JPEG/help.html"
          "sys/soft/Ostrel PDF to JPEG/Skins/about.bmp"
          "sys/soft/Ostrel PDF to JPEG/Skins/progress.bmp"
          "sys/soft/Ostrel PDF to JPEG/Sample/Ostrel guide.pdf")
  if(NOT EXISTS "${root}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
if(NOT EXISTS ${STAGE}${XDG}/icons/hicolor/48x48/apps/ostrel.png)
  message(FATAL_ERROR "icon not installed")
endif()
file(READ ${STAGE}${XDG}/applications/ostrel.desktop entry)
foreach(line "Exec=\"${PREFIX}/Ostrel\" -f %F" "MimeType=application/pdf;" "Icon=ostrel")
  string(FIND "${entry}" "${line}" at)
  if(at LESS 0)
    message(FATAL_ERROR "desktop entry lacks '${line}':\n${entry}")
  endif()
endforeach()
file(REMOVE_RECURSE ${STAGE})
