// Must not compile: the look-and-feel sees the product's facts, not the job.
#include "look/InstallerLookAndFeel.h"
#include "install/InstallJob.h"
