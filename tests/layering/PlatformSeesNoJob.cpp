// Must not compile: the platform layer does not see the job that uses it.
#include "platform/Registry.h"
#include "install/InstallJob.h"
