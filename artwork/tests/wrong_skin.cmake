# cmake -DGENERATOR=... -DDESCRIPTION=... -DWORK=... -P wrong_skin.cmake
# The skin's description with one mistake at a time: the generator must fail with a message
# that names the place, and write neither the resource fragment nor the header.
cmake_minimum_required(VERSION 3.25)
file(READ ${DESCRIPTION} text)
file(MAKE_DIRECTORY ${WORK})

function(expect_refusal what pattern replacement message_pattern)
  string(REGEX REPLACE "${pattern}" "${replacement}" wrong "${text}")
  if(wrong STREQUAL text)
    message(FATAL_ERROR "${what}: the description has nothing to change")
  endif()
  file(WRITE ${WORK}/wrong.txt "${wrong}")
  file(REMOVE ${WORK}/wrong.rc ${WORK}/wrong.h)
  execute_process(COMMAND ${GENERATOR} ${WORK}/wrong.txt ${WORK} ${WORK}/wrong.rc ${WORK}/wrong.h
                  RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(rc EQUAL 0)
    message(FATAL_ERROR "${what}: accepted")
  endif()
  if(NOT err MATCHES "generate_skin: error: [^\n]*${message_pattern}")
    message(FATAL_ERROR "${what}: unclear message: ${err}")
  endif()
  if(EXISTS ${WORK}/wrong.rc OR EXISTS ${WORK}/wrong.h)
    message(FATAL_ERROR "${what}: output written for a wrong description")
  endif()
  message(STATUS "${what} refused: ${err}")
endfunction()

expect_refusal("a bitmap number used twice" "\nid = 6002\n" "\nid = 6001\n" "resource 6001 is used by \\[box_button_[a-z]+\\] too")
expect_refusal("an unknown glyph" "kind = check" "kind = star" "kind 'star' is none of")
expect_refusal("corners larger than the box" "size = 64 28\nradius = 4\nslice = 6" "size = 64 28\nradius = 4\nslice = 40"
               "'slice' is more than half the box")
expect_refusal("a mistyped key" "\naccent = " "\naccnet = #000000\naccent = " "wrong.txt:[0-9]+: unknown key 'accnet'")
expect_refusal("a missing font" "caption = Play:bold" "caption = Nonexistent Display:bold" "not installed")
