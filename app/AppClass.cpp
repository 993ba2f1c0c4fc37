#include "app/AppClass.h"
#include "app/InstallerWindow.h"
#include "product/Product.h"
#include "app/WindowPlacement.h"

AppClass::AppClass() = default;
AppClass::~AppClass() = default;

const juce::String AppClass::getApplicationName()
{
    return juce::String (Product::name) + " Demo" + " Installer";
}

const juce::String AppClass::getApplicationVersion()
{
    return Product::versionString();
}

bool AppClass::moreThanOneInstanceAllowed()
{
    return false;
}

void AppClass::initialise (const juce::String&)
{
    // Before anything is shown: the window, its boxes and its progress window, alike.
    ScreenFit::fitToMainDisplay (InstallerWindow::startWidth, InstallerWindow::startHeight);
    mainWindow = std::make_unique<InstallerWindow>();

    const auto* display = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay();
    const auto userArea = display != nullptr ? display->userArea : juce::Rectangle<int> (800, 720);

    mainWindow->setSize (InstallerWindow::startWidth, InstallerWindow::startHeight);
    mainWindow->setTopLeftPosition (centredWindowPosition (userArea, InstallerWindow::startWidth,
                                                           InstallerWindow::startHeight));
    mainWindow->setVisible (true);
}

void AppClass::shutdown()
{
}

void AppClass::anotherInstanceStarted (const juce::String&)
{
}
