# Compiles a resource script into a C++ source with the platform's own
# resource compiler and adds it to a target.
#   vrml_compile_resources(TARGET SCRIPT VARIABLE)
find_program(VRML_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT VRML_PYTHON)
  find_program(VRML_PYTHON NAMES python3 REQUIRED)
endif()
set(VRML_RC_COMPILER ${CMAKE_CURRENT_LIST_DIR}/rc.py)
set(VRML_RC_INCLUDE ${CMAKE_CURRENT_LIST_DIR}/../include)

function(vrml_compile_resources target script variable)
  get_filename_component(script_dir ${script} DIRECTORY)
  get_filename_component(script_name ${script} NAME_WE)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${script_name}_${variable}.cpp)
  file(GLOB inputs CONFIGURE_DEPENDS ${script_dir}/*.h ${script_dir}/*.ico ${VRML_RC_INCLUDE}/*.h)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${VRML_PYTHON} ${VRML_RC_COMPILER} ${script} -o ${output} --name ${variable} -I ${VRML_RC_INCLUDE}
    DEPENDS ${VRML_RC_COMPILER} ${script} ${inputs}
    COMMENT "Compiling resources ${script_name}.rc"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
