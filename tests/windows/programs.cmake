# The Windows programs of the wine suites (tests/windows/CMakeLists.txt
# runs them under wine64): the plug-in's behaviour suite, built by
# tests/plugin, gains the OLE tests that only the real platform has.
target_sources(plugin_behaviour_tests PRIVATE
  import_counters.cpp
  ole_capture_test.cpp
  ole_fake_control.cpp
  scripted_dialogs.cpp
  pad_driver_test.cpp)
target_include_directories(plugin_behaviour_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(plugin_behaviour_tests PRIVATE fmhost_core win32_api windows_module_loading)

# The system's loading under the Linux tests' names, for every program here
# and in tests/platform that loads modules.
add_library(windows_module_loading STATIC module_loading.cpp)
target_include_directories(windows_module_loading PUBLIC include)
target_link_libraries(windows_module_loading PRIVATE win32_api)

# The pad control's OLE side, loading the sigplus.dll built beside it.
if(TARGET sigplus)
  zera_test(sigplus_wine_tests sigplus_control_test.cpp)
  target_link_libraries(sigplus_wine_tests PRIVATE platform_common sigplus_pad_script)
  add_dependencies(sigplus_wine_tests sigplus)
endif()

# A person at the screen, for the mouse checks: signs in another program's
# capture dialog with posted mouse input.
add_executable(mouse_signer mouse_signer.cpp)
target_link_libraries(mouse_signer PRIVATE win32_api)
