#include "uninstall/Uninstallation.h"
#include "install/InstallProperties.h"
#include "look/InstallerLookAndFeel.h"
#include "look/ScreenFit.h"
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

    // The boxes wear the installer's look while they are shown, at its scale.
    struct BoxLook
    {
        InstallerLookAndFeel lookAndFeel;

        BoxLook()
        {
            ScreenFit::fitToMainDisplay (ScreenFit::windowWidth, ScreenFit::windowHeight);
            juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);
        }

        ~BoxLook()  { juce::LookAndFeel::setDefaultLookAndFeel (nullptr); }
    };
}

int Uninstallation::run (const juce::File& installedUninstaller, bool silent)
{
    std::unique_ptr<BoxLook> look;

    if (! silent)
    {
        look = std::make_unique<BoxLook>();

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
