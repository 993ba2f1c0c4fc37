# Links data files into the program with the assembler's .incbin: no generated C++ arrays,
# so even a large payload costs almost nothing to compile, and nothing is copied at run time.
# Each file NAME becomes the symbols sorna_res_NAME_data / sorna_res_NAME_end (resources/BinaryResources.h).
set(sorna_resource_sources)

function(sorna_embed name file)
    cmake_parse_arguments(arg "" "" "DEPENDS" ${ARGN})
    set(asm ${CMAKE_BINARY_DIR}/embedded/${name}.S)
    set(SORNA_RES_NAME ${name})
    set(SORNA_RES_FILE ${file})
    configure_file(${CMAKE_SOURCE_DIR}/cmake/Embed.S.in ${asm} @ONLY)
    set_source_files_properties(${asm} PROPERTIES OBJECT_DEPENDS "${file};${arg_DEPENDS}")
    set(sorna_resource_sources ${sorna_resource_sources} ${asm} PARENT_SCOPE)
endfunction()

sorna_embed(productLogo ${CMAKE_SOURCE_DIR}/resources/ProductLogo.png)
sorna_embed(makerLogo ${CMAKE_SOURCE_DIR}/resources/MakerLogo.png)
sorna_embed(backgroundTile ${CMAKE_SOURCE_DIR}/resources/BackgroundTile.png)
sorna_embed(folderIcon ${CMAKE_SOURCE_DIR}/resources/FolderIcon.png)
sorna_embed(licence ${CMAKE_SOURCE_DIR}/resources/Licence.txt)
include(cmake/Payload.cmake)
