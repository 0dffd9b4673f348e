# Runs one transcript test (see CMakeLists.txt): VANTREL, PLUGIN, LIGHTPANEL, NAME, SOURCE_DIR, WORK_DIR.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

set(extra "")
file(STRINGS ${SOURCE_DIR}/${NAME}.scr header REGEX "^; args: ")
if(header)
  list(GET header 0 first)
  string(REGEX REPLACE "^; args: " "" first "${first}")
  # Without the policy, a script run by cmake -P would read "@LIGHTPANEL@" as a variable reference.
  cmake_policy(SET CMP0053 NEW)
  string(REPLACE "@LIGHTPANEL@" "${LIGHTPANEL}" first "${first}")
  separate_arguments(extra UNIX_COMMAND "${first}")
endif()

# The transcript, then what went to standard error and a failing exit code, if any.
function(run_once out_var)
  file(REMOVE ${WORK_DIR}/profile.toml)
  execute_process(
    COMMAND ${VANTREL} --profile ${WORK_DIR}/profile.toml --plugin ${PLUGIN} ${extra} -s ${NAME}.scr
    WORKING_DIRECTORY ${SOURCE_DIR}
    INPUT_FILE /dev/null
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  set(text "${out}")
  if(NOT err STREQUAL "")
    string(APPEND text "--- stderr\n${err}")
  endif()
  if(NOT rc STREQUAL "0")
    string(APPEND text "--- exit ${rc}\n")
  endif()
  set(${out_var} "${text}" PARENT_SCOPE)
endfunction()

run_once(first)
run_once(second)
file(WRITE ${WORK_DIR}/${NAME}.actual "${first}")
if(NOT first STREQUAL second)
  file(WRITE ${WORK_DIR}/${NAME}.second "${second}")
  execute_process(COMMAND diff -u ${WORK_DIR}/${NAME}.actual ${WORK_DIR}/${NAME}.second)
  message(FATAL_ERROR "${NAME}: two runs in a row gave different transcripts")
endif()

set(expected_file ${SOURCE_DIR}/${NAME}.expected)
if("$ENV{VANTREL_UPDATE_GOLDEN}" STREQUAL "1")
  file(WRITE ${expected_file} "${first}")
  message(STATUS "${NAME}: expected transcript written")
  return()
endif()
if(NOT EXISTS ${expected_file})
  message(FATAL_ERROR "${NAME}: no ${NAME}.expected (run with VANTREL_UPDATE_GOLDEN=1 and read the diff)")
endif()
file(READ ${expected_file} expected)
if(NOT first STREQUAL expected)
  execute_process(COMMAND diff -u ${expected_file} ${WORK_DIR}/${NAME}.actual)
  message(FATAL_ERROR "${NAME}: the transcript differs from ${NAME}.expected")
endif()
