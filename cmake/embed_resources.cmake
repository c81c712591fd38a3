# Compiles a module's resource script with windres into a .res file and
# embeds its bytes in the target, under the two exported symbols the
# platform library looks up through the module handle.
find_program(WINDRES NAMES i686-w64-mingw32-windres x86_64-w64-mingw32-windres windres REQUIRED)

function(embed_windows_resources target rc_file)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  get_filename_component(rc_abs ${rc_file} ABSOLUTE)
  get_filename_component(rc_dir ${rc_abs} DIRECTORY)
  get_filename_component(rc_name ${rc_abs} NAME_WE)
  set(res_file ${CMAKE_CURRENT_BINARY_DIR}/${rc_name}.res)
  set(cpp_file ${CMAKE_CURRENT_BINARY_DIR}/${rc_name}_res.cpp)
  add_custom_command(
    OUTPUT ${res_file}
    COMMAND ${WINDRES} -O res -I ${rc_dir} -I ${CMAKE_BINARY_DIR}/generated -o ${res_file} ${rc_abs}
    DEPENDS ${rc_abs} ${ARG_DEPENDS} ${CMAKE_BINARY_DIR}/generated/zera/version.h
    WORKING_DIRECTORY ${rc_dir}
    COMMENT "Compiling resources ${rc_name}.rc"
    VERBATIM)
  add_custom_command(
    OUTPUT ${cpp_file}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${res_file} -DOUTPUT=${cpp_file} -P ${PROJECT_SOURCE_DIR}/cmake/bytes_to_cpp.cmake
    DEPENDS ${res_file} ${PROJECT_SOURCE_DIR}/cmake/bytes_to_cpp.cmake
    VERBATIM)
  target_sources(${target} PRIVATE ${cpp_file})
  set_property(TARGET ${target} PROPERTY WINDOWS_RES_FILE ${res_file})
endfunction()
