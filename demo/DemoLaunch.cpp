#include "demo/DemoLaunch.h"
#include "product/Product.h"

DemoLaunch DemoLaunch::fromArguments (const juce::StringArray& arguments, const juce::File& workingFolder)
{
    DemoLaunch launch;
    launch.workingFolder = workingFolder;

    for (auto& argument : arguments)
    {
        if (argument.isNotEmpty())
        {
            launch.preset = workingFolder.getChildFile (argument);
            break;
        }
    }

    return launch;
}

juce::String DemoLaunch::windowTitle() const
{
    auto title = juce::String (Product::name) + " " + Product::versionString() + " demo";
    return hasPreset() ? title + " - " + preset.getFileName() : title;
}

juce::String DemoLaunch::description() const
{
    return (hasPreset() ? "Preset: " + preset.getFullPathName() : juce::String ("Preset: none"))
           + "\nWorking folder: " + workingFolder.getFullPathName() + "\n";
}
