// Must not compile: the installation job links JUCE's non-GUI modules only.
#include "install/InstallJob.h"
#include <juce_gui_basics/juce_gui_basics.h>
