#include "resources/BinaryResources.h"

#define SORNA_RESOURCE(name)                                                    \
    extern "C" const char sorna_res_##name##_data[];                            \
    extern "C" const char sorna_res_##name##_end[];                             \
    BinaryResources::Block BinaryResources::name()                              \
    {                                                                           \
        return { sorna_res_##name##_data,                                       \
                 static_cast<size_t> (sorna_res_##name##_end - sorna_res_##name##_data) }; \
    }

SORNA_RESOURCE (productLogo)
SORNA_RESOURCE (makerLogo)
SORNA_RESOURCE (backgroundTile)
SORNA_RESOURCE (folderIcon)
SORNA_RESOURCE (licence)
