# SPDX-License-Identifier: LGPL-2.1-or-later
# SPDX-FileCopyrightText: kxsimlib contributors
# Compiles the help project in a staging copy of the help sources and puts the
# help file at OUTPUT. chmcmd reads #include files relative to its working
# folder and is given the project by a relative name, from inside the copy.
#
#   cmake -DCHMCMD=... -DSOURCE_DIR=... -DSTAGE_DIR=... -DFILES=a;b -DOUTPUT=... -P compile_help.cmake

file(REMOVE_RECURSE ${STAGE_DIR})
foreach(name IN LISTS FILES)
  get_filename_component(folder ${name} DIRECTORY)
  file(COPY ${SOURCE_DIR}/${name} DESTINATION ${STAGE_DIR}/${folder})
endforeach()

execute_process(COMMAND ${CHMCMD} --verbosity 2 kxhelpd.hhp
  WORKING_DIRECTORY ${STAGE_DIR}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE out
  ERROR_VARIABLE out)
if(NOT result EQUAL 0 OR NOT EXISTS ${STAGE_DIR}/kxhelpd.chm)
  message(FATAL_ERROR "chmcmd could not compile the help project (exit ${result}):\n${out}")
endif()
# With verbosity 2 chmcmd names links to files the project lacks.
if(out MATCHES "(Error|Warning)")
  message(FATAL_ERROR "chmcmd reported a problem in the help project:\n${out}")
endif()

get_filename_component(output_dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${output_dir})
file(COPY_FILE ${STAGE_DIR}/kxhelpd.chm ${OUTPUT})
