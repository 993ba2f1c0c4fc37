#include "platform/ShellLink.h"

// The Linux stand-in writes the link file directly: no per-thread set-up is needed.
void prepareThreadForShellLink()
{
}
