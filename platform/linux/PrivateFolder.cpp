#include "platform/PrivateFolder.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
    constexpr mode_t ownerOnly = 0700;
}

juce::String PrivateFolder::accessRules()
{
    return juce::String::formatted ("%04o", (unsigned) ownerOnly);
}

// mkdir makes a new folder or fails, also where a link stands; the mode is set on the folder
// itself (a umask could have taken bits away), through a descriptor that follows no link.
PrivateFolder::Made PrivateFolder::make()
{
    const auto path = folder.getFullPathName();
    if (::mkdir (path.toRawUTF8(), ownerOnly) != 0)
        return errno == EEXIST ? Made::nameTaken : Made::failed;

    const auto descriptor = ::open (path.toRawUTF8(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    const bool owned = descriptor >= 0 && ::fchmod (descriptor, ownerOnly) == 0;

    if (descriptor >= 0)
        ::close (descriptor);

    if (owned)
        return Made::made;

    ::rmdir (path.toRawUTF8());
    return Made::failed;
}

// Only its owner can change a folder of mode 0700, so there is nothing to hold.
void PrivateFolder::release()
{
}
