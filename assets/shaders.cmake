# The renderer's shader files: assets/shaders/* -> <runtime>/data/shaders/, rebuilt with the engine.
file(GLOB VORTA5_SHADER_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/shaders/*.vs
     ${CMAKE_CURRENT_SOURCE_DIR}/shaders/*.ps)
set(VORTA5_SHADER_OUTPUTS)
foreach(source IN LISTS VORTA5_SHADER_FILES)
    get_filename_component(name ${source} NAME)
    set(output ${VORTA5_RUNTIME_DIR}/data/shaders/${name})
    add_custom_command(OUTPUT ${output} COMMAND ${CMAKE_COMMAND} -E copy ${source} ${output} DEPENDS ${source}
                       VERBATIM)
    list(APPEND VORTA5_SHADER_OUTPUTS ${output})
endforeach()
add_custom_target(vorta5_shaders ALL DEPENDS ${VORTA5_SHADER_OUTPUTS})
add_dependencies(vorta5 vorta5_shaders)
