# The program is built in layers, each folder a library that sees only the folders below it:
#   product <- platform <- targets <- install <- ui <- app, with look and resources beside.
# A library's include path holds one root per folder it may use, and each root shows just that
# folder, so an include that runs the wrong way (the job reaching the screen, the platform
# layer reaching the job) does not compile.

# The include root that shows only the given folders of the source tree (or of another base),
# as symbolic links; its path goes into the variable named by OUT.
function(sorna_include_root out name)
    cmake_parse_arguments(arg "" "BASE" "FOLDERS" ${ARGN})
    if(NOT arg_BASE)
        set(arg_BASE ${CMAKE_SOURCE_DIR})
    endif()
    set(root ${CMAKE_BINARY_DIR}/include-roots/${name})
    file(MAKE_DIRECTORY ${root})
    foreach(folder IN LISTS arg_FOLDERS)
        file(REMOVE ${root}/${folder})
        file(CREATE_LINK ${arg_BASE}/${folder} ${root}/${folder} SYMBOLIC)
    endforeach()
    set(${out} ${root} PARENT_SCOPE)
endfunction()

# sorna_layer(<folder> [SOURCES ...] DEPENDS ...): the library sorna_<folder> of that folder's
# sources (its *.cpp unless SOURCES are given), seeing its own folder and its dependencies'.
function(sorna_layer folder)
    cmake_parse_arguments(arg "" "" "SOURCES;DEPENDS" ${ARGN})
    if(NOT arg_SOURCES)
        file(GLOB arg_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
    endif()
    sorna_include_root(root ${folder} FOLDERS ${folder})
    add_library(sorna_${folder} STATIC ${arg_SOURCES})
    target_include_directories(sorna_${folder} PUBLIC ${root})
    target_link_libraries(sorna_${folder} PUBLIC ${arg_DEPENDS})
    target_compile_options(sorna_${folder} PRIVATE ${sorna_warnings})
endfunction()
