# cmake -DOBJDUMP=... -DMODULE=... -P check_module.cmake
cmake_minimum_required(VERSION 3.25)
# Fails unless MODULE exports exactly the four server entry points and imports only DLLs of
# the system.
execute_process(COMMAND ${OBJDUMP} -p ${MODULE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${MODULE}")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
set(system_dlls kernel32.dll user32.dll advapi32.dll ole32.dll oleaut32.dll setupapi.dll hid.dll
    msvcrt.dll gdi32.dll shell32.dll)
foreach(line IN LISTS imports)
  string(REPLACE "DLL Name: " "" name "${line}")
  string(STRIP "${name}" name)
  string(TOLOWER "${name}" lower)
  if(NOT lower IN_LIST system_dlls AND NOT lower MATCHES "^api-ms-win-")
    message(FATAL_ERROR "imports a DLL that is not the system's: ${name}")
  endif()
  message(STATUS "imports ${name}")
endforeach()

# The export table lists "[Ordinal/Name Pointer] Table" rows as "\t[   n] Name".
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(([ \t]+\\[[ 0-9]+\\] [^\n]+\n)*)" table "${dump}")
string(REGEX MATCHALL "\\] [A-Za-z_0-9@]+" rows "${CMAKE_MATCH_1}")
set(exports)
foreach(row IN LISTS rows)
  string(REPLACE "] " "" name "${row}")
  list(APPEND exports ${name})
endforeach()
list(SORT exports)
set(expected DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer)
if(NOT exports STREQUAL expected)
  message(FATAL_ERROR "exports are '${exports}', expected '${expected}'")
endif()
message(STATUS "exports ${exports}")
