#pragma once

#include "install/InstallOptions.h"
#include "install/InstallProperties.h"
#include "ui/InstallThread.h"
#include "ui/PluginFolderRow.h"
#include "ui/ScreenArtwork.h"

#include <juce_gui_basics/juce_gui_basics.h>

// The installer's one screen: logos and version line, the plug-in folder rows, the stand-alone
// folder, the shortcut toggle, the licence and the two buttons. It wires the controls to the
// install targets and the installation job.
class InstallerComponent : public juce::Component,
                           public juce::Button::Listener,
                           public juce::ComboBox::Listener
{
public:
    InstallerComponent();
    ~InstallerComponent() override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void buttonClicked (juce::Button* button) override;
    void comboBoxChanged (juce::ComboBox* box) override;

    PluginFolderRow& addPluginFolderRow (const juce::String& hint, int formatId);

    // Asks whether to abort the installation; true when the user chose "Abort".
    static bool abortQuestion (juce::Component* associatedComponent);

    // "Accept and install": creates the chosen folders, runs the job, then reports the outcome
    // or, after a cancel, removes a stand-alone folder that this attempt created.
    void startInstallation();

    // The choices on the screen right now, as the job reads them.
    InstallOptions getInstallOptions() const;

    // Ends the installer; tests replace it to observe the request instead.
    std::function<void()> quitApplication;

    // Whether the folder choosers are the platform's own dialogs (zenity or kdialog on Linux,
    // when installed) or JUCE's; tests use JUCE's, which they can drive.
    bool useNativeFolderChooser = true;

    const juce::OwnedArray<PluginFolderRow>& getPluginRows() const { return pluginRows; }
    juce::TextEditor& getStandaloneFolderEditor() { return standaloneFolderEditor; }
    juce::ToggleButton& getShortcutToggle() { return shortcutToggle; }
    juce::TextEditor& getLicenceView() { return licenceView; }
    juce::TextButton& getCancelButton() { return cancelButton; }
    juce::TextButton& getInstallButton() { return installButton; }
    juce::TextButton& getAddRowButton() { return addRowButton; }
    juce::ImageButton& getStandaloneBrowseButton() { return standaloneBrowseButton; }
    juce::Label& getPluginLabel() { return pluginLabel; }
    juce::Label& getStandaloneLabel() { return standaloneLabel; }
    juce::Label& getShortcutLabel() { return shortcutLabel; }
    InstallProperties& getProperties() { return properties; }
    juce::String& getErrorText() { return errorText; }

    static juce::String versionLine();

private:
    void browseForFolder (const juce::String& title, juce::TextEditor& editor);
    void loadStandaloneFolder();
    void loadPluginFolders();
    void completionReport();

    ScreenArtwork artwork;
    juce::OwnedArray<PluginFolderRow> pluginRows;
    juce::TextEditor licenceView;
    juce::TextEditor standaloneFolderEditor;
    juce::TextButton cancelButton;
    juce::TextButton installButton;
    juce::TextButton addRowButton;
    juce::Label standaloneLabel;
    juce::Label pluginLabel;
    juce::Label shortcutLabel;
    juce::ImageButton standaloneBrowseButton;
    juce::ToggleButton shortcutToggle;

    // The job writes into the settings store and the error text, so both are declared before
    // the thread: members go in reverse order, and the thread's destructor waits for the job.
    InstallProperties properties;
    juce::String errorText;
    InstallThread installThread;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InstallerComponent)
};
