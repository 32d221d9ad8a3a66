# The simulated framework: the library the plugin links against, in place of
# the real framework's import library. It carries the sdk's implementation.
add_library(AsaApi SHARED
  sim/framework/api_utils.cpp
  sim/framework/clock_redirect.cpp
  sim/framework/commands.cpp
  sim/framework/engine_memory.cpp
  sim/framework/engine_text.cpp
  sim/framework/faults.cpp
  sim/framework/framework.cpp
  sim/framework/game_build.cpp
  sim/framework/hooks.cpp
  sim/framework/key_registry.cpp
  sim/framework/log_sinks.cpp
  sim/framework/modules.cpp
)
target_include_directories(AsaApi PUBLIC ${PROJECT_SOURCE_DIR}/sdk ${PROJECT_SOURCE_DIR})
target_compile_definitions(AsaApi PRIVATE ASAAPI_BUILDING)
target_link_libraries(AsaApi PUBLIC spdlog::spdlog fmt::fmt ${CMAKE_DL_LIBS})
if(WIN32)
  # On Windows the plugin imports AsaApi.dll, the framework double in MSVC's
  # binary interface (cmake/FrameworkDouble.cmake), which forwards to this
  # library; this library connects to it through the double's import library.
  target_sources(AsaApi PRIVATE sim/framework/msvc_bridge.cpp)
  target_link_libraries(AsaApi PRIVATE ${CRADLEKEEP_DOUBLE_LIB})
  add_dependencies(AsaApi framework_double)
  set_target_properties(AsaApi PROPERTIES PREFIX "" OUTPUT_NAME SimFramework)
else()
  set_target_properties(AsaApi PROPERTIES PREFIX "lib" OUTPUT_NAME AsaApi)
endif()
