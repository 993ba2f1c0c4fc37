# Links data files into the program with the assembler's .incbin: no generated C++ arrays,
# so even a large payload costs almost nothing to compile, and nothing is copied at run time.
# sorna_embed(<list> NAME FILE [DEPENDS ...]) makes FILE the symbols sorna_res_NAME_data /
# sorna_res_NAME_end (resources/BinaryResources.h) and appends the assembler source to the list
# variable <list>, for the library that carries it.
set(sorna_resource_sources)
set(sorna_payload_sources)

function(sorna_embed list name file)
    cmake_parse_arguments(arg "" "" "DEPENDS" ${ARGN})
    set(asm ${CMAKE_BINARY_DIR}/embedded/${name}.S)
    set(SORNA_RES_NAME ${name})
    set(SORNA_RES_FILE ${file})
    configure_file(${CMAKE_SOURCE_DIR}/cmake/Embed.S.in ${asm} @ONLY)
    set_source_files_properties(${asm} PROPERTIES OBJECT_DEPENDS "${file};${arg_DEPENDS}")
    set(${list} ${${list}} ${asm} PARENT_SCOPE)
endfunction()

sorna_embed(sorna_resource_sources productLogo ${CMAKE_SOURCE_DIR}/resources/ProductLogo.png)
sorna_embed(sorna_resource_sources makerLogo ${CMAKE_SOURCE_DIR}/resources/MakerLogo.png)
sorna_embed(sorna_resource_sources backgroundTile ${CMAKE_SOURCE_DIR}/resources/BackgroundTile.png)
sorna_embed(sorna_resource_sources folderIcon ${CMAKE_SOURCE_DIR}/resources/FolderIcon.png)
sorna_embed(sorna_resource_sources licence ${CMAKE_SOURCE_DIR}/resources/Licence.txt)
