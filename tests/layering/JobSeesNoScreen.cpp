// Must not compile: the installation job does not see the screen that starts it.
#include "install/InstallJob.h"
#include "ui/InstallerComponent.h"
