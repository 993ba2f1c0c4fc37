#include "tests/support/Sandbox.h"

#include <cstdlib>
#include <unistd.h>

namespace
{
    const char* const variables[] = { "HOME", "TMPDIR", "XDG_CONFIG_HOME", "XDG_DOCUMENTS_DIR", "XDG_DESKTOP_DIR" };

    void setVariable (const juce::String& name, const juce::String& value)
    {
        if (value.isEmpty())
            ::unsetenv (name.toRawUTF8());
        else
            ::setenv (name.toRawUTF8(), value.toRawUTF8(), 1);
    }
}

Sandbox::Sandbox()
{
    const auto base = juce::File (juce::String (SORNA_BINARY_DIR)).getChildFile ("sandboxes");
    // CTest runs test processes side by side: the process id keeps their homes apart, since
    // two processes could otherwise both find the same free name before either creates it.
    root = base.getNonexistentChildFile ("home-" + juce::String ((int) ::getpid()), {}, false);
    root.createDirectory();

    for (auto* name : variables)
        saved.set (name, juce::String (std::getenv (name) != nullptr ? std::getenv (name) : ""));

    setVariable ("HOME", root.getFullPathName());
    setVariable ("TMPDIR", root.getChildFile ("tmp").getFullPathName());
    setVariable ("XDG_CONFIG_HOME", {});
    setVariable ("XDG_DOCUMENTS_DIR", {});
    setVariable ("XDG_DESKTOP_DIR", {});

    for (auto sub : { ".config", "Documents", "Desktop", "tmp" })
        root.getChildFile (sub).createDirectory();
}

Sandbox::~Sandbox()
{
    for (auto* name : variables)
        setVariable (name, saved[name]);

    root.deleteRecursively();
}

juce::File Sandbox::appData() const   { return root.getChildFile (".config"); }
juce::File Sandbox::documents() const { return root.getChildFile ("Documents"); }
juce::File Sandbox::desktop() const   { return root.getChildFile ("Desktop"); }
juce::File Sandbox::temp() const      { return root.getChildFile ("tmp"); }

juce::File Sandbox::folder (const juce::String& relativePath) const
{
    auto f = root.getChildFile (relativePath);
    f.createDirectory();
    return f;
}
