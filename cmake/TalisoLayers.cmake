# The .cpp and .h files of a folder of the tree, found anew at each build:
#   taliso_layer_files(<out> <folder> [ONLY <name>...] [EXCEPT <name>...])
# Names are file names without extension; ONLY keeps just those, EXCEPT drops them.
function(taliso_layer_files out folder)
    cmake_parse_arguments(arg "" "" "ONLY;EXCEPT" ${ARGN})
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.h)
    set(result)
    foreach(file IN LISTS found)
        get_filename_component(name ${file} NAME_WE)
        if(arg_ONLY AND NOT name IN_LIST arg_ONLY)
            continue()
        endif()
        if(name IN_LIST arg_EXCEPT)
            continue()
        endif()
        list(APPEND result ${file})
    endforeach()
    set(${out} ${result} PARENT_SCOPE)
endfunction()

# A layer sees its own headers and those of the layers it links, and no others: each
# layer's headers are linked into an include folder of its own under their paths in the
# tree ("model/CScan.h"), so an include that runs up to a higher layer does not compile.
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

# One layer of the program compiled as an object set: its files, and the layers below it
# whose headers it may include.
#   taliso_add_layer(<name> FILES <file>... [USES <target>...])
function(taliso_add_layer name)
    cmake_parse_arguments(arg "" "" "FILES;USES" ${ARGN})
    add_library(${name} OBJECT ${arg_FILES})
    taliso_expose_headers(${name} ${arg_FILES})
    target_link_libraries(${name} PUBLIC ${arg_USES})
endfunction()

# Files that sit in one folder but belong to another layer.
# Controls that several dialogs (and the dialogs of the lower subsystems) use.
set(TALISO_CONTROLS CColumnHeader CColumnListBox CExtentListBox CIndicatorButton CPasswordEdit CPictureButton
    UnitDataExchange)
# The field shapes' dialogs and pages of the model, and the size and point dialogs they open.
set(TALISO_SHAPE_DIALOGS_OF_MODEL CArcShelterDialog CArcShelterPage CPolyShelterDialog CPolyShelterPage
    CRectShelterDialog CRectShelterPage CShelterPage ShelterEditing ShelterPageTexts)
set(TALISO_SHAPE_DIALOGS_OF_DIALOGS CArcShapeDialog CCartesianPointDialog CPolarPointDialog CRectShapeDialog
    ShapeDialogSupport)
# The device subsystem's login dialog.
set(TALISO_DEVICE_DIALOGS CLoginDialog)
# The program's settings object, and the view metric switch read from it.
set(TALISO_SETTINGS_OF_APP CTalisoSetup)
set(TALISO_SETTINGS_OF_MODEL ViewMetricSetting)

# A shared library whose interface is plain C functions: besides hidden visibility, the
# linker keeps every C++ symbol inside it.
function(taliso_c_interface_only target)
    target_link_options(${target} PRIVATE -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/CInterface.map)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/CInterface.map)
endfunction()
