# setwright_wx: wxWidgets (core, base, adv, html) as an interface target. Its headers are
# system headers here, so that the project's warnings apply to our code only.
if(NOT TARGET setwright_wx)
  add_library(setwright_wx INTERFACE)
  target_include_directories(setwright_wx SYSTEM INTERFACE ${wxWidgets_INCLUDE_DIRS})
  target_compile_definitions(setwright_wx INTERFACE ${wxWidgets_DEFINITIONS})
  target_compile_options(setwright_wx INTERFACE ${wxWidgets_CXX_FLAGS})
  target_link_libraries(setwright_wx INTERFACE ${wxWidgets_LIBRARIES})
endif()
