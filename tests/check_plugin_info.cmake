# PluginInfo.json carries the framework's keys: texts, numbers where numbers
# belong, and a list of dependencies.
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
