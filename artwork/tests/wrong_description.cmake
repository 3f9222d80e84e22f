# cmake -DGENERATOR=... -DDESCRIPTION=... -DWORK=... -P wrong_description.cmake
# The tray's description with one value mistyped: the generator must fail, naming the file,
# the line and the key, and write no resource fragment.
cmake_minimum_required(VERSION 3.25)
file(READ ${DESCRIPTION} text)
string(REGEX REPLACE "\nwidth = [0-9]+" "\nwidth = 13x" wrong "${text}")
if(wrong STREQUAL text)
  message(FATAL_ERROR "the description has no 'width' line to mistype")
endif()
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/wrong.txt "${wrong}")
file(REMOVE ${WORK}/wrong.rc)
execute_process(COMMAND ${GENERATOR} ${WORK}/wrong.txt ${WORK} ${WORK}/wrong.rc
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0)
  message(FATAL_ERROR "the generator accepted a mistyped width")
endif()
if(NOT err MATCHES "generate_tray_artwork: error: [^\n]*wrong.txt:[0-9]+: 'width' is 13x, expected a whole number")
  message(FATAL_ERROR "unclear message: ${err}")
endif()
if(EXISTS ${WORK}/wrong.rc)
  message(FATAL_ERROR "a resource fragment was written for a wrong description")
endif()
message(STATUS "refused: ${err}")
