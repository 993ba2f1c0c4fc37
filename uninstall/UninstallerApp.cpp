#include "uninstall/UninstallerApp.h"
#include "platform/SelfRemoval.h"
#include "product/Product.h"
#include "uninstall/Uninstallation.h"

const juce::String UninstallerApp::getApplicationName()
{
    return juce::String (Product::name) + " " + Product::versionString() + " Uninstaller";
}

const juce::String UninstallerApp::getApplicationVersion() { return Product::versionString(); }
bool UninstallerApp::moreThanOneInstanceAllowed()           { return true; }

void UninstallerApp::initialise (const juce::String&)
{
    const auto arguments = getCommandLineParameterArray();
    const auto start = SelfRemoval::begin (arguments);

    if (start.handedOver)
    {
        setApplicationReturnValue (start.exitCode);
        quit();
        return;
    }

    const bool silent = SelfRemoval::workArguments (arguments).contains ("/S", true);
    setApplicationReturnValue (Uninstallation::run (start.uninstaller, silent));
    quit();
}

// Nothing to release: the boxes and their look are gone once the work returns.
void UninstallerApp::shutdown()
{
}
