# PluginInfo.json carries the framework's keys: texts, numbers where numbers
# belong, and a list of dependencies. With -DVERSION=X.Y.Z (the project
# version) its Version must also be that version as the framework's number:
# the major version, then the minor and patch versions one after the other as
# the fraction (0.7.3 is 0.73).
file(READ ${FILE} info)
foreach(pair FullName:STRING Description:STRING Version:NUMBER MinApiVersion:NUMBER Dependencies:ARRAY)
  string(REPLACE ":" ";" parts ${pair})
  list(GET parts 0 key)
  list(GET parts 1 kind)
  string(JSON type ERROR_VARIABLE error TYPE "${info}" ${key})
  if(error OR NOT type STREQUAL kind)
    message(FATAL_ERROR "PluginInfo.json: ${key} is missing or not a ${kind}")
  endif()
endforeach()

if(DEFINED VERSION)
  if(NOT VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
    message(FATAL_ERROR "VERSION '${VERSION}' is not MAJOR.MINOR.PATCH")
  endif()
  set(number "${CMAKE_MATCH_1}.${CMAKE_MATCH_2}${CMAKE_MATCH_3}")
  # The number as written: CMake reads JSON numbers through a double, which
  # does not give 0.73 back as written.
  string(REGEX MATCH "\"Version\"[ \t\r\n]*:[ \t\r\n]*([^ \t\r\n,}]*)" found "${info}")
  if(NOT CMAKE_MATCH_1 STREQUAL number)
    message(FATAL_ERROR "PluginInfo.json: Version is ${CMAKE_MATCH_1}, not ${number} (version ${VERSION})")
  endif()
endif()
