#pragma once

#include <cstddef>

// Data files linked into the program (cmake/Resources.cmake). Each is a read-only block in the
// executable image; the pointers stay valid for the life of the process.
namespace BinaryResources
{
    struct Block
    {
        const void* data;
        size_t size;
    };

    Block productLogo();
    Block makerLogo();
    Block backgroundTile();
    Block folderIcon();
    Block licence();
}
