cmake_minimum_required(VERSION 3.25)

# The include check run on small trees: run with -DCHECK=<CheckLayerIncludes.cmake>
# -DWORK=<scratch folder> -P. Each case builds its tree and layer map, runs the check and
# compares its verdict and the line it names.

set(failures "")

# Writes the files of a case: pairs of tree path and content, lines parted by "|".
function(write_tree root)
    file(REMOVE_RECURSE ${root})
    set(pairs ${ARGN})
    while(pairs)
        list(POP_FRONT pairs path content)
        string(REPLACE "|" "\n" content "${content}")
        file(WRITE ${root}/${path} "${content}\n")
    endwhile()
endfunction()

# Runs the check on the tree with the map; expected is "" for a pass, else a text the
# report must hold.
function(expect_check name map expected)
    set(root ${WORK}/${name})
    file(WRITE ${root}/layer-map.txt "${map}")
    execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${root} -DMAP=${root}/layer-map.txt -P ${CHECK}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    string(REGEX REPLACE "[ \t\r\n]+" " " output "${output}")
    if(expected STREQUAL "")
        if(NOT result EQUAL 0)
            string(APPEND failures "${name}: refused: ${output}\n")
        endif()
    elseif(result EQUAL 0)
        string(APPEND failures "${name}: passed, expected \"${expected}\"\n")
    else()
        string(FIND "${output}" "${expected}" at)
        if(at EQUAL -1)
            string(APPEND failures "${name}: \"${expected}\" not in: ${output}\n")
        endif()
    endif()
    set(failures "${failures}" PARENT_SCOPE)
endfunction()

# The model layer below the shape dialogs kept in a sub-folder of it.
set(two_layers "low|model|model\nhigh|model/shapedialogs|model/shapedialogs,model\n")
set(dialog_header "model/shapedialogs/CArcShelterDialog.h" "#pragma once")

write_tree(${WORK}/folder-relative-climb
    ${dialog_header}
    "model/CScan.cpp" "#include \"model/CScan.h\"|#include \"shapedialogs/CArcShelterDialog.h\""
    "model/CScan.h" "#pragma once")
expect_check(folder-relative-climb "${two_layers}"
    "model/CScan.cpp:2: \"shapedialogs/CArcShelterDialog.h\" is model/shapedialogs/CArcShelterDialog.h, outside what layer low may use")

write_tree(${WORK}/tree-path-climb
    ${dialog_header}
    "model/CScan.cpp" "#include \"model/shapedialogs/CArcShelterDialog.h\"")
expect_check(tree-path-climb "${two_layers}"
    "model/CScan.cpp:1: \"model/shapedialogs/CArcShelterDialog.h\" lies outside what layer low may use")

write_tree(${WORK}/tree-paths-downwards
    ${dialog_header}
    "model/CScan.h" "#pragma once"
    "model/shapedialogs/CArcShelterDialog.cpp"
    "#include \"model/shapedialogs/CArcShelterDialog.h\"|#include \"model/CScan.h\"")
expect_check(tree-paths-downwards "${two_layers}" "")

# Beside the file inside the layer's own folders: allowed to see, but not so written.
write_tree(${WORK}/folder-relative-own
    ${dialog_header}
    "model/CScan.cpp" "#include \"shapedialogs/CArcShelterDialog.h\"")
expect_check(folder-relative-own "one|model,model/shapedialogs|model,model/shapedialogs\n"
    "model/CScan.cpp:1: \"shapedialogs/CArcShelterDialog.h\" is found beside the file; write model/shapedialogs/CArcShelterDialog.h")

if(failures)
    message(FATAL_ERROR "The include check judged wrongly:\n${failures}")
endif()
