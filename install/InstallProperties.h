#pragma once

#include <juce_core/juce_core.h>

// The installer's settings store: the choices of the last installation, kept as text
// attributes of one XML element in "<application data>/Kestrune/Sorna/install.xml". When no
// usable file exists, reads fall back to the registry; writes always go to the element.
class InstallProperties
{
public:
    // "HKEY_CURRENT_USER\Software\Kestrune\Sorna\": where the registry fallback reads.
    static juce::String productRegistryKey();

    InstallProperties();    // in the current user's application data folder
    explicit InstallProperties (const juce::File& applicationDataFolder);
    ~InstallProperties();

    // Reads install.xml; a missing, unreadable or malformed file gives an empty
    // "SornaProperties" element and switches reads to the registry. Never writes.
    void loadProperties();

    juce::String getSetting (const juce::String& name, const juce::String& defaultValue,
                             const juce::String& registryKeyPath) const;
    void setSetting (const juce::String& name, const juce::String& value);

    // Writes install.xml (through a temporary file beside it, replaced only when complete).
    // A failure appends one line to errorText, on a line of its own and without a closing
    // line break: the file that cannot be created, or else the file that could not be written.
    void saveProperties (juce::String& errorText);

    bool isUsingRegistryFallback() const  { return registryFallback; }
    juce::File getPropertiesFile() const  { return propertiesFile; }
    const juce::XmlElement* getRootElement() const { return root.get(); }

private:
    juce::File propertiesFile;
    std::unique_ptr<juce::XmlElement> root;
    bool registryFallback = false;

    JUCE_DECLARE_NON_COPYABLE (InstallProperties)
};
