#include "demo/DemoWindow.h"
#include "product/Product.h"

DemoWindow::Content::Content (const DemoLaunch& launch)
{
    heading.setText (juce::String (Product::name) + " " + Product::versionString()
                         + " demo: this stands in for the synthesizer and never changes the file it opens.",
                     juce::dontSendNotification);
    addAndMakeVisible (heading);

    details.setMultiLine (true, false);
    details.setReadOnly (true);
    details.setScrollbarsShown (true);
    details.setCaretVisible (false);
    details.setFont (juce::Font (16.0f));
    details.setText (launch.description(), false);
    addAndMakeVisible (details);
}

void DemoWindow::Content::resized()
{
    auto area = getLocalBounds().reduced (12);
    heading.setBounds (area.removeFromTop (28));
    area.removeFromTop (8);
    details.setBounds (area);
}

DemoWindow::DemoWindow (const DemoLaunch& launch)
    : DocumentWindow (launch.windowTitle(), juce::Colours::darkgrey, DocumentWindow::allButtons, true),
      content (launch)
{
    setUsingNativeTitleBar (true);
    setResizable (true, false);
    content.setSize (720, 200);
    setContentNonOwned (&content, true);
    centreWithSize (getWidth(), getHeight());
    content.details.onEscapeKey = [this] { closeButtonPressed(); };
    setVisible (true);
}

void DemoWindow::closeButtonPressed()
{
    juce::JUCEApplication::getInstance()->systemRequestedQuit();
}

bool DemoWindow::keyPressed (const juce::KeyPress& key)
{
    if (key == juce::KeyPress::escapeKey)
    {
        closeButtonPressed();
        return true;
    }

    return DocumentWindow::keyPressed (key);
}
