#include "demo/DemoLaunch.h"
#include "demo/DemoWindow.h"
#include "product/Product.h"

// The stand-in for the product's stand-alone application in the demo payload: a real program
// that the desktop shortcut and the preset association can start, showing what it was given.
class DemoApp : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override     { return juce::String (Product::name) + " demo"; }
    const juce::String getApplicationVersion() override  { return Product::versionString(); }

    // Each opened preset gets its own window, as each double-click starts its own program.
    bool moreThanOneInstanceAllowed() override           { return true; }

    void initialise (const juce::String&) override
    {
        window = std::make_unique<DemoWindow> (DemoLaunch::fromArguments (getCommandLineParameterArray(),
                                                                          juce::File::getCurrentWorkingDirectory()));
    }

    void shutdown() override   { window.reset(); }

private:
    std::unique_ptr<DemoWindow> window;
};

START_JUCE_APPLICATION (DemoApp)
