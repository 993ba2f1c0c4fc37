#include "uninstall/UninstallerApp.h"

START_JUCE_APPLICATION (UninstallerApp)
