# The library's layers. Each layer is an object library that sees only its
# own headers and the headers of the layers it stands on: a layer's headers
# are linked, file by file, into an include root of its own in the build
# tree (layers/<name>/), and a layer's sources are compiled with its own root
# and the roots of the layers below it, never with src/ itself. An include
# that points up a layer names a header that none of those roots holds, and
# the build stops there.
#
#   orv_add_layer(<name>
#       HEADERS <folder or header, relative to src/>...
#       SOURCES <source>...
#       BELOW <layer>...)
#
# A folder gives its own headers only, not those of its sub-folders; a
# sub-folder that belongs to the same layer is named as well. A layer
# without sources is header-only. The layer's target is orv_layer_<name>.
function(orv_add_layer name)
    cmake_parse_arguments(LAYER "" "" "HEADERS;SOURCES;BELOW" ${ARGN})
    set(root ${ORV_LAYER_ROOTS}/${name})
    file(REMOVE_RECURSE ${root})
    foreach(entry IN LISTS LAYER_HEADERS)
        if(IS_DIRECTORY ${ORV_SOURCE_ROOT}/${entry})
            file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${ORV_SOURCE_ROOT} ${ORV_SOURCE_ROOT}/${entry}/*.h)
        elseif(EXISTS ${ORV_SOURCE_ROOT}/${entry})
            set(headers ${entry})
        else()
            message(FATAL_ERROR "Layer ${name}: no header or folder src/${entry}")
        endif()
        foreach(header IN LISTS headers)
            get_filename_component(folder ${root}/${header} DIRECTORY)
            file(MAKE_DIRECTORY ${folder})
            file(CREATE_LINK ${ORV_SOURCE_ROOT}/${header} ${root}/${header} SYMBOLIC)
        endforeach()
    endforeach()

    set(target orv_layer_${name})
    list(TRANSFORM LAYER_BELOW PREPEND orv_layer_)
    if(NOT LAYER_SOURCES)
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${root})
        target_link_libraries(${target} INTERFACE ${LAYER_BELOW})
        return()
    endif()

    add_library(${target} OBJECT ${LAYER_SOURCES})
    target_include_directories(${target} PUBLIC ${root})
    target_link_libraries(${target} PUBLIC ${LAYER_BELOW})
    # KESTREL, the host library, is not a layer: every layer may call it.
    target_include_directories(${target} PRIVATE $<TARGET_PROPERTY:kestrel,INTERFACE_INCLUDE_DIRECTORIES>)
    target_compile_definitions(${target} PRIVATE ORV_BUILDING_LIBRARY)
    set_target_properties(${target} PROPERTIES
        POSITION_INDEPENDENT_CODE ON
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    if(NOT WIN32 AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        # Calls inside the shared library go straight to its own exported
        # functions (no trip through the PLT, and they may be inlined), as
        # they do inside the Windows DLL: another module cannot replace them.
        target_compile_options(${target} PRIVATE -fno-semantic-interposition)
    endif()
    set_property(GLOBAL APPEND PROPERTY ORV_LAYER_OBJECTS $<TARGET_OBJECTS:${target}>)
endfunction()
