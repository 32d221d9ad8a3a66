# Checks what Cradlekeep.dll imports from the framework against what the
# framework exports, as clang in MSVC mode decorates the framework's
# declarations (the framework double AsaApi.dll is built from them):
#   cmake -DOBJDUMP=... -DPLUGIN=Cradlekeep.dll -DFRAMEWORK=AsaApi.dll -P check_framework_imports.cmake
# Rules: the plugin imports at least one name from AsaApi.dll; every such
# name is one the framework exports; none is a GCC-decorated name (_Z...);
# none is a field-offset query or a clock, which the real framework does not
# offer.
cmake_minimum_required(VERSION 3.25)

foreach(var OBJDUMP PLUGIN FRAMEWORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_framework_imports.cmake needs -D${var}=...")
  endif()
endforeach()

execute_process(COMMAND ${OBJDUMP} -p ${PLUGIN} OUTPUT_VARIABLE plugin_dump RESULT_VARIABLE code)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${PLUGIN} failed")
endif()
execute_process(COMMAND ${OBJDUMP} -p ${FRAMEWORK} OUTPUT_VARIABLE framework_dump RESULT_VARIABLE code)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${FRAMEWORK} failed")
endif()

# The lines of one paragraph of a dump: from `header` to the blank line,
# each matched by `line_regex`, with `prefix_regex` cut off.
function(paragraph_names dump header line_regex prefix_regex out)
  string(FIND "${dump}" "${header}" at)
  if(at EQUAL -1)
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  string(SUBSTRING "${dump}" ${at} -1 block)
  string(FIND "${block}" "\n\n" end)
  string(SUBSTRING "${block}" 0 ${end} block)
  string(REGEX MATCHALL "${line_regex}" lines "${block}")
  set(names "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "${prefix_regex}" "" name "${line}")
    list(APPEND names "${name}")
  endforeach()
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

# The plugin's imports from AsaApi.dll: "<vma> <hint> <name>" lines.
paragraph_names("${plugin_dump}" "DLL Name: AsaApi.dll" "\n\t[0-9a-f]+\t +[0-9]+  [^\n]+"
                "^\n\t[0-9a-f]+\t +[0-9]+  " imports)
# The framework's exports: "[ n] <name>" lines.
paragraph_names("${framework_dump}" "[Ordinal/Name Pointer] Table" "\\[ *[0-9]+\\] [^\n]+"
                "^\\[ *[0-9]+\\] " exports)

set(failures "")
list(LENGTH imports count)
if(count EQUAL 0)
  list(APPEND failures "rule 'imports': no name imported from AsaApi.dll was read")
endif()
foreach(name IN LISTS imports)
  if(name MATCHES "^_Z")
    list(APPEND failures "rule 'msvc names': ${name} is a GCC-decorated name")
  endif()
  if(name MATCHES "GetFieldOffset|Clock|Platform")
    list(APPEND failures "rule 'offered': ${name} is not offered by the framework")
  endif()
  list(FIND exports "${name}" found)
  if(found EQUAL -1)
    list(APPEND failures "rule 'exported': ${name} is not a name the framework's declarations export")
  endif()
endforeach()

if(failures)
  string(REPLACE ";" "\n  " text "${failures}")
  message(FATAL_ERROR "Cradlekeep.dll's framework imports:\n  ${text}")
endif()
string(REPLACE ";" "\n  " text "${imports}")
message(STATUS "${count} framework imports, each exported under its MSVC-decorated name:\n  ${text}")
