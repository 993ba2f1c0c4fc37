#include "app/InstallerWindow.h"
#include "product/Product.h"
#include "look/InstallerLookAndFeel.h"
#include "ui/InstallerComponent.h"

namespace juce
{
    // JUCE's own: the icon the system shows for a file, a program's first icon resource on
    // Windows; none on Linux.
    Image juce_createIconForFile (const File& file);
}

InstallerWindow::InstallerWindow()
    : DocumentWindow (juce::String (Product::name) + " demo - Installer",
                      juce::Colours::black,
                      DocumentWindow::minimiseButton | DocumentWindow::closeButton,
                      true)
{
    {
        const juce::MessageManagerLock lock;
        lookAndFeel = std::make_unique<InstallerLookAndFeel>();
        setLookAndFeel (lookAndFeel.get());
        juce::LookAndFeel::setDefaultLookAndFeel (lookAndFeel.get());
    }

    setUsingNativeTitleBar (false);
    setResizable (false, false);
    setTitleBarHeight (titleBarHeight);

    // The program's icon beside the title, where a native title bar would show it.
    setIcon (juce::juce_createIconForFile (juce::File::getSpecialLocation (juce::File::currentExecutableFile)));

    content = std::make_unique<InstallerComponent>();
    setContentNonOwned (content.get(), false);
}

InstallerWindow::~InstallerWindow()
{
    clearContentComponent();
    content.reset();
    setLookAndFeel (nullptr);
    lookAndFeel.reset();
}

void InstallerWindow::closeButtonPressed()
{
    if (InstallerComponent::abortQuestion (this))
        content->quitApplication();
}
