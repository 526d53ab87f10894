# SPDX-License-Identifier: LGPL-2.1-or-later
# SPDX-FileCopyrightText: kxsimlib contributors
# Writes kxsim's manual page and bash completion: cmake -DKXSIM=<program>
# -DMAN=<file> -DCOMPLETION=<file> -P write_reference.cmake
set(ENV{QT_QPA_PLATFORM} offscreen)
foreach(pair "--man;${MAN}" "--bash-completion;${COMPLETION}")
  list(GET pair 0 option)
  list(GET pair 1 file)
  get_filename_component(folder ${file} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  execute_process(COMMAND ${KXSIM} ${option} OUTPUT_FILE ${file} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${KXSIM} ${option} failed: ${failed}")
  endif()
endforeach()
