# Checks what a Windows module (DLL or EXE) exports and imports, as read by
# objdump -p:
#   cmake -DOBJDUMP=x86_64-w64-mingw32-objdump -DMODULE=Cradlekeep.dll
#         [-DEXPORTS=a,b,c] [-DALLOWED_IMPORTS=AsaApi.dll,...] -P check_pe.cmake
# Rule "exports": with EXPORTS given, the module exports exactly those names.
# Rule "imports": every DLL the module imports is named in ALLOWED_IMPORTS or
# is a Windows system DLL; in particular no compiler runtime DLL (libstdc++,
# libgcc, libwinpthread), which a server does not have.
cmake_minimum_required(VERSION 3.25)

foreach(var OBJDUMP MODULE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_pe.cmake needs -D${var}=...")
  endif()
endforeach()

execute_process(COMMAND ${OBJDUMP} -p ${MODULE}
  OUTPUT_VARIABLE dump ERROR_VARIABLE err RESULT_VARIABLE code)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "rule 'readable': ${OBJDUMP} -p ${MODULE} failed (${code}): ${err}")
endif()
get_filename_component(module_name ${MODULE} NAME)

# Imports: one "DLL Name: X" line per imported DLL.
set(imports "")
string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^DLL Name: " "" dll "${line}")
  list(APPEND imports "${dll}")
endforeach()

# Exports: the "[Ordinal/Name Pointer] Table" paragraph, one "[ n] name" line
# each. (The dump goes on with the exception tables, thousands of lines.)
set(exports "")
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" at)
if(NOT at EQUAL -1)
  string(SUBSTRING "${dump}" ${at} -1 table)
  string(FIND "${table}" "\n\n" end)
  string(SUBSTRING "${table}" 0 ${end} table)
  string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" lines "${table}")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^\\[ *[0-9]+\\] " "" name "${line}")
    list(APPEND exports "${name}")
  endforeach()
endif()

set(failures "")

if(DEFINED EXPORTS)
  string(REPLACE "," ";" expected "${EXPORTS}")
  list(SORT expected)
  set(actual ${exports})
  list(SORT actual)
  if(NOT "${actual}" STREQUAL "${expected}")
    string(REPLACE ";" ", " actual_text "${actual}")
    string(REPLACE ";" ", " expected_text "${expected}")
    list(APPEND failures
      "rule 'exports': ${module_name} exports [${actual_text}], expected exactly [${expected_text}]")
  endif()
endif()

set(allowed "")
if(DEFINED ALLOWED_IMPORTS)
  string(REPLACE "," ";" allowed "${ALLOWED_IMPORTS}")
  string(TOLOWER "${allowed}" allowed)
endif()
# Windows' own DLLs, lower case, and the API sets (api-ms-win-*, ext-ms-win-*).
set(system_dlls
  advapi32.dll bcrypt.dll comctl32.dll comdlg32.dll crypt32.dll dbghelp.dll gdi32.dll
  imm32.dll iphlpapi.dll kernel32.dll kernelbase.dll msvcrt.dll mswsock.dll ntdll.dll
  ole32.dll oleaut32.dll psapi.dll rpcrt4.dll secur32.dll setupapi.dll shell32.dll
  shlwapi.dll ucrtbase.dll user32.dll userenv.dll version.dll winmm.dll ws2_32.dll)
foreach(dll IN LISTS imports)
  string(TOLOWER "${dll}" lower)
  if(lower IN_LIST allowed OR lower IN_LIST system_dlls OR lower MATCHES "^(api|ext)-ms-win-")
    continue()
  endif()
  if(lower MATCHES "^(libstdc\\+\\+|libgcc|libwinpthread)")
    list(APPEND failures
      "rule 'imports': ${module_name} imports the compiler runtime DLL ${dll} (link it statically)")
  else()
    list(APPEND failures
      "rule 'imports': ${module_name} imports ${dll}, which is neither allowed here nor a Windows system DLL")
  endif()
endforeach()

string(REPLACE ";" ", " import_text "${imports}")
if(failures)
  string(REPLACE ";" "\n" failure_text "${failures}")
  message(FATAL_ERROR "${failure_text}\n(${module_name} imports: ${import_text})")
endif()
message(STATUS "${module_name}: imports ${import_text}")
