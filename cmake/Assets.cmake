# tessaly_game(<name> [MATERIALS <factory>] <sources>...): a game program built
# from the engine and host libraries (tessaly), the allocation operators, a
# material factory (tessaly_materials_standard unless named) and its own
# sources.
function(tessaly_game name)
    cmake_parse_arguments(PARSE_ARGV 1 GAME "" "MATERIALS" "")
    if(NOT GAME_MATERIALS)
        set(GAME_MATERIALS tessaly_materials_standard)
    endif()
    add_executable(${name} ${GAME_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE tessaly_main ${GAME_MATERIALS} tessaly)
    if(TARGET tessaly_alloc)
        target_link_libraries(${name} PRIVATE tessaly_alloc)
    endif()
    add_dependencies(${name} assets)
endfunction()

# Mirrors the hand-written assets of data/ into the build tree, beside bin/.
# Generated assets join them through tessaly_generated_assets().
function(tessaly_mirror_data)
    foreach(dir shaders textures fonts skin project models Nibblor)
        file(MAKE_DIRECTORY ${TESSALY_ASSET_ROOT}/${dir})
    endforeach()
    file(GLOB_RECURSE data_files CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/data
         ${CMAKE_SOURCE_DIR}/data/*)
    set(outputs)
    foreach(rel ${data_files})
        get_filename_component(name ${rel} NAME)
        if(name STREQUAL "README.md" OR name STREQUAL ".gitkeep")
            continue()
        endif()
        set(out ${TESSALY_ASSET_ROOT}/${rel})
        add_custom_command(OUTPUT ${out}
            COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/data/${rel} ${out}
            DEPENDS ${CMAKE_SOURCE_DIR}/data/${rel}
            COMMENT "Copying data/${rel}")
        list(APPEND outputs ${out})
    endforeach()
    add_custom_target(assets ALL DEPENDS ${outputs})
    get_property(generators GLOBAL PROPERTY TESSALY_ASSET_TARGETS)
    if(generators)
        add_dependencies(assets ${generators})
    endif()
endfunction()

# Registers targets that write generated files into the asset tree.
function(tessaly_asset_targets)
    set_property(GLOBAL APPEND PROPERTY TESSALY_ASSET_TARGETS ${ARGN})
endfunction()
