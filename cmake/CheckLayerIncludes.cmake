cmake_minimum_required(VERSION 3.25)

# The include check: run with -DSOURCE_DIR=<tree> -DMAP=<build>/layer-map.txt -P.
# Each folder feeds one layer. Every quoted include is written with its path in the tree,
# never bare, never with ".." and never as a path from the including file's folder (the
# compiler takes that one first), and a file of a layer includes only from the folders of
# its own layer and of the layers it uses (a library's internal/ folder belongs to that
# library alone). Tests,
# benchmarks and fuzz targets stand above every layer and may reach internals, but never
# climb with "..". Fails naming each offending include.

file(STRINGS ${MAP} layers)
set(faults "")
set(checked "")
set(layered_folders "")

# The quoted includes of a file as "line:path" entries.
function(quoted_includes file out)
    file(STRINGS ${file} lines)
    set(result "")
    set(number 0)
    foreach(line IN LISTS lines)
        math(EXPR number "${number} + 1")
        if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
            list(APPEND result "${number}:${CMAKE_MATCH_1}")
        endif()
    endforeach()
    set(${out} ${result} PARENT_SCOPE)
endfunction()

# The compiler looks for a quoted include beside the including file before the include
# folders: sets beside to the tree path of the file found there, or to "".
macro(find_beside folder path)
    set(beside "")
    if(EXISTS ${SOURCE_DIR}/${folder}/${path} AND NOT IS_DIRECTORY ${SOURCE_DIR}/${folder}/${path})
        file(RELATIVE_PATH beside ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/${path})
    endif()
endmacro()

# Splits a "line:path" entry of quoted_includes.
macro(split_include include)
    string(REGEX REPLACE "^([0-9]+):(.*)$" "\\1" number "${include}")
    string(REGEX REPLACE "^([0-9]+):(.*)$" "\\2" path "${include}")
endmacro()

# Adds a fault when the include climbs with ".."; sets climbs.
macro(check_climbing relative number path)
    set(climbs FALSE)
    if(path MATCHES "(^|/)\\.\\.(/|$)")
        string(APPEND faults "${relative}:${number}: \"${path}\" climbs with \"..\"\n")
        set(climbs TRUE)
    endif()
endmacro()

# Adds a fault unless the include is written with a tree path; sets written_as_path.
macro(check_written_as_path relative number path)
    check_climbing(${relative} ${number} ${path})
    set(written_as_path FALSE)
    if(NOT climbs AND path MATCHES "/")
        set(written_as_path TRUE)
    elseif(NOT climbs)
        string(APPEND faults "${relative}:${number}: \"${path}\" is bare; write its path in the tree\n")
    endif()
endmacro()

foreach(entry IN LISTS layers)
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 layer)
    list(GET parts 1 folders)
    list(GET parts 2 visible)
    string(REPLACE "," ";" folders "${folders}")
    string(REPLACE "," ";" visible "${visible}")
    foreach(folder IN LISTS folders)
        if(folder IN_LIST layered_folders)
            string(APPEND faults "${folder}: feeds more than one layer (${layer} and another)\n")
        endif()
        list(APPEND layered_folders ${folder})
        file(GLOB files ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.c ${SOURCE_DIR}/${folder}/*.h)
        foreach(file IN LISTS files)
            file(RELATIVE_PATH relative ${SOURCE_DIR} ${file})
            list(APPEND checked ${relative})
            quoted_includes(${file} includes)
            foreach(include IN LISTS includes)
                split_include(${include})
                check_written_as_path(${relative} ${number} ${path})
                if(NOT written_as_path)
                    continue()
                endif()
                find_beside(${folder} ${path})
                if(beside)
                    get_filename_component(included_folder ${beside} DIRECTORY)
                    if(NOT included_folder IN_LIST visible)
                        string(APPEND faults
                            "${relative}:${number}: \"${path}\" is ${beside}, outside what layer ${layer} may use\n")
                    else()
                        string(APPEND faults
                            "${relative}:${number}: \"${path}\" is found beside the file; write ${beside}\n")
                    endif()
                    continue()
                endif()
                get_filename_component(included_folder ${path} DIRECTORY)
                if(NOT included_folder IN_LIST visible)
                    if(EXISTS ${SOURCE_DIR}/${path})
                        string(APPEND faults
                            "${relative}:${number}: \"${path}\" lies outside what layer ${layer} may use\n")
                    endif()
                endif()
            endforeach()
        endforeach()
    endforeach()
endforeach()

# What stands above the layers: no climbing. A test's bare include names a helper of its
# own test folder.
foreach(top tests bench fuzz language)
    file(GLOB_RECURSE files ${SOURCE_DIR}/${top}/*.cpp ${SOURCE_DIR}/${top}/*.c ${SOURCE_DIR}/${top}/*.h)
    foreach(file IN LISTS files)
        file(RELATIVE_PATH relative ${SOURCE_DIR} ${file})
        quoted_includes(${file} includes)
        foreach(include IN LISTS includes)
            split_include(${include})
            check_climbing(${relative} ${number} ${path})
        endforeach()
    endforeach()
endforeach()

# A source file in no layer would escape the check.
set(layered_roots app device dialogs diagnose driver framework model outside shared simulator tools)
foreach(root IN LISTS layered_roots)
    file(GLOB_RECURSE files ${SOURCE_DIR}/${root}/*.cpp ${SOURCE_DIR}/${root}/*.c ${SOURCE_DIR}/${root}/*.h)
    foreach(file IN LISTS files)
        file(RELATIVE_PATH relative ${SOURCE_DIR} ${file})
        if(NOT relative IN_LIST checked)
            string(APPEND faults "${relative}: lies in a folder that belongs to no layer\n")
        endif()
    endforeach()
endforeach()

if(faults)
    message(FATAL_ERROR "Includes that break the layers:\n${faults}")
endif()
list(LENGTH checked count)
message(STATUS "Includes of ${count} files keep to their layers.")
