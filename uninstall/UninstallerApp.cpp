#include "uninstall/UninstallerApp.h"
#include "install/InstallProperties.h"
#include "look/InstallerLookAndFeel.h"
#include "platform/SelfRemoval.h"
#include "platform/SpecialFolders.h"
#include "product/Product.h"
#include "uninstall/RemovalPlan.h"

namespace
{
    juce::String productAndVersion()
    {
        return juce::String (Product::name) + " " + Product::versionString();
    }
}

UninstallerApp::UninstallerApp() = default;
UninstallerApp::~UninstallerApp() = default;

const juce::String UninstallerApp::getApplicationName()    { return productAndVersion() + " Uninstaller"; }
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
    setApplicationReturnValue (uninstall (start.uninstaller, silent));
    quit();
}

void UninstallerApp::shutdown()
{
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    lookAndFeel.reset();
}

int UninstallerApp::uninstall (const juce::File& installedUninstaller, bool silent)
{
    if (! silent)
    {
        lookAndFeel = std::make_unique<InstallerLookAndFeel>();
        juce::LookAndFeel::setDefaultLookAndFeel (lookAndFeel.get());

        if (! juce::AlertWindow::showOkCancelBox (juce::MessageBoxIconType::QuestionIcon,
                                                  "Uninstall " + productAndVersion(),
                                                  "Do you really want to remove " + productAndVersion() + "?",
                                                  "Remove", "Cancel", nullptr, nullptr))
        {
            SelfRemoval::finish (1, false, {});
            return 1;
        }
    }

    InstallProperties properties (SpecialFolders::applicationData());
    properties.loadProperties();

    const auto product = InstalledProduct::find (properties, ContentList::embedded(), installedUninstaller);
    RemovalPlan plan (product);
    plan.carryOut (SelfRemoval::fileLeftToFinish());

    if (! silent)
        juce::AlertWindow::showMessageBox (plan.isComplete() ? juce::MessageBoxIconType::InfoIcon
                                                             : juce::MessageBoxIconType::WarningIcon,
                                           juce::String (Product::name) + " was removed", plan.reportMessage(), "OK");

    const auto exitCode = plan.isComplete() ? 0 : 1;

    // Only the installed uninstaller goes, never a copy run from elsewhere.
    const bool removeUninstaller = plan.isComplete()
        && product.standaloneFolder != juce::File()
        && installedUninstaller == product.standaloneFolder.getChildFile (Product::uninstallerName);

    SelfRemoval::finish (exitCode, removeUninstaller, [&plan] { plan.removeEmptyFolders(); });
    return exitCode;
}
