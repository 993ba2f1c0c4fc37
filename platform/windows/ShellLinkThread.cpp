#include "platform/ShellLink.h"

#include <objbase.h>

// createShellLink un-initialises COM before it returns, so each call is paired with this one.
void prepareThreadForShellLink()
{
    CoInitialize (nullptr);
}
