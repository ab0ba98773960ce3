# The program and its libraries are built in layers. A layer is made of whole folders of
# the tree (the files directly in them, not their sub-folders), and it sees the headers
# of its own folders and of the layers it uses, no others: each layer's headers are linked
# into an include folder of its own under their paths in the tree ("model/CScan.h"), so an
# include that runs up to a higher layer does not compile. The layer map written at the
# end of the configuration lets the include check (cmake/CheckLayerIncludes.cmake) say
# which include climbs, before anything is compiled.

# The .cpp, .c and .h files directly in the given folders.
function(taliso_folder_files out)
    set(result)
    foreach(folder IN LISTS ARGN)
        file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp
            ${PROJECT_SOURCE_DIR}/${folder}/*.c ${PROJECT_SOURCE_DIR}/${folder}/*.h)
        list(APPEND result ${found})
    endforeach()
    set(${out} ${result} PARENT_SCOPE)
endfunction()

set(TALISO_LAYER_INCLUDES ${CMAKE_BINARY_DIR}/layer-include)
file(REMOVE_RECURSE ${TALISO_LAYER_INCLUDES})

function(taliso_expose_headers target)
    set(root ${TALISO_LAYER_INCLUDES}/${target})
    file(MAKE_DIRECTORY ${root})
    foreach(file IN LISTS ARGN)
        if(NOT file MATCHES "\\.h$")
            continue()
        endif()
        file(RELATIVE_PATH path ${PROJECT_SOURCE_DIR} ${file})
        get_filename_component(dir ${root}/${path} DIRECTORY)
        file(MAKE_DIRECTORY ${dir})
        file(CREATE_LINK ${file} ${root}/${path} SYMBOLIC)
    endforeach()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${root})
    else()
        target_include_directories(${target} PUBLIC ${root})
    endif()
endfunction()

# Enters a layer into the layer map: its folders and the targets it uses.
function(taliso_map_layer name)
    cmake_parse_arguments(arg "" "" "FOLDERS;USES" ${ARGN})
    set_property(GLOBAL APPEND PROPERTY TALISO_LAYERS ${name})
    set_property(GLOBAL PROPERTY TALISO_LAYER_FOLDERS_${name} ${arg_FOLDERS})
    set_property(GLOBAL PROPERTY TALISO_LAYER_USES_${name} ${arg_USES})
endfunction()

# One layer compiled as an object set (an interface target when its folders hold headers
# only), made of its folders, using the layers below it.
#   taliso_add_layer(<name> FOLDERS <folder>... [USES <target>...])
function(taliso_add_layer name)
    cmake_parse_arguments(arg "" "" "FOLDERS;USES" ${ARGN})
    taliso_folder_files(files ${arg_FOLDERS})
    set(sources ${files})
    list(FILTER sources INCLUDE REGEX "\\.(cpp|c)$")
    if(sources)
        add_library(${name} OBJECT ${files})
        target_link_libraries(${name} PUBLIC ${arg_USES})
    else()
        add_library(${name} INTERFACE)
        target_link_libraries(${name} INTERFACE ${arg_USES})
    endif()
    taliso_expose_headers(${name} ${files})
    taliso_map_layer(${name} FOLDERS ${arg_FOLDERS} USES ${arg_USES})
endfunction()

# A shared library whose interface is plain C functions: besides hidden visibility, the
# linker keeps every C++ symbol inside it.
function(taliso_c_interface_only target)
    target_link_options(${target} PRIVATE -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/CInterface.map)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/CInterface.map)
endfunction()

# A library with a C interface: its public headers lie in <folder>, everything else in
# <folder>/internal. Callers link <name> and see only the public headers; the library's
# own objects (<name>_obj) and its tests see both.
#   taliso_add_c_library(<name> FOLDER <folder> [OUTPUT_NAME <file>] [USES <target>...])
function(taliso_add_c_library name)
    cmake_parse_arguments(arg "" "FOLDER;OUTPUT_NAME" "USES" ${ARGN})
    taliso_add_layer(${name}_api FOLDERS ${arg_FOLDER} USES taliso_framework)
    taliso_add_layer(${name}_obj FOLDERS ${arg_FOLDER}/internal USES ${name}_api ${arg_USES})
    add_library(${name} SHARED $<TARGET_OBJECTS:${name}_obj>)
    target_link_libraries(${name} PUBLIC ${name}_api PRIVATE ${arg_USES})
    taliso_map_layer(${name} USES ${name}_api)
    if(arg_OUTPUT_NAME)
        set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${arg_OUTPUT_NAME})
    endif()
    taliso_c_interface_only(${name})
endfunction()

# Writes the layer map: for each layer its folders and every folder it may include from
# (its own and, through the layers it uses, theirs), and adds the include check as a test.
function(taliso_write_layer_map)
    get_property(layers GLOBAL PROPERTY TALISO_LAYERS)
    set(map "")
    foreach(layer IN LISTS layers)
        get_property(folders GLOBAL PROPERTY TALISO_LAYER_FOLDERS_${layer})
        set(visible ${folders})
        set(pending ${layer})
        set(seen ${layer})
        while(pending)
            list(POP_FRONT pending current)
            get_property(uses GLOBAL PROPERTY TALISO_LAYER_USES_${current})
            foreach(used IN LISTS uses)
                if(used IN_LIST seen)
                    continue()
                endif()
                list(APPEND seen ${used})
                get_property(used_folders GLOBAL PROPERTY TALISO_LAYER_FOLDERS_${used})
                list(APPEND visible ${used_folders})
                list(APPEND pending ${used})
            endforeach()
        endwhile()
        list(REMOVE_DUPLICATES visible)
        if(NOT folders)
            continue()
        endif()
        string(REPLACE ";" "," folders "${folders}")
        string(REPLACE ";" "," visible "${visible}")
        string(APPEND map "${layer}|${folders}|${visible}\n")
    endforeach()
    set(file ${CMAKE_BINARY_DIR}/layer-map.txt)
    file(WRITE ${file} "${map}")
    add_test(NAME layer_includes COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DMAP=${file}
        -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake)
endfunction()
