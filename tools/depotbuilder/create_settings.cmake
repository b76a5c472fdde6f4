# cmake -DDEPOTBUILDER=... -DSETTINGS_FILE=... -P create_settings.cmake
# Creates the default settings file when there is none; an existing one is kept.
if(EXISTS "${SETTINGS_FILE}")
  return()
endif()
execute_process(COMMAND "${DEPOTBUILDER}" create "${SETTINGS_FILE}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "depotbuilder create ${SETTINGS_FILE} failed: ${result}")
endif()
