# The product never runs a command line through a shell, nor any other program: no
# system(), popen(), exec*() or QProcess in its sources (opening files and addresses goes
# through QDesktopServices). -DSOURCE=<project folder>
set(found "")
foreach(dir plug launcher engine options module platform skin filelist convert addfiles)
  file(GLOB_RECURSE sources ${SOURCE}/${dir}/*.cpp ${SOURCE}/${dir}/*.h)
  foreach(f ${sources})
    file(STRINGS ${f} lines REGEX "(^|[^A-Za-z_])(system|popen|execl|execlp|execv|execvp|execve|posix_spawn)[ ]*\\(|QProcess|/bin/sh")
    foreach(line ${lines})
      list(APPEND found "${f}: ${line}")
    endforeach()
  endforeach()
endforeach()
if(found)
  list(JOIN found "\n" text)
  message(FATAL_ERROR "programs started from product code:\n${text}")
endif()
