#pragma once

#include "install/InstallOptions.h"
#include "install/InstallProperties.h"
#include "ui/InstallThread.h"

#include <juce_gui_basics/juce_gui_basics.h>

// One plug-in destination row of the screen. The widgets are owned by the screen's lists.
struct PluginFolderRow
{
    juce::ImageButton* browseButton = nullptr;
    juce::TextEditor* folderEditor = nullptr;
    juce::ComboBox* formatBox = nullptr;
};

// The installer's one screen: logos and version line, the plug-in folder rows, the stand-alone
// folder, the shortcut toggle, the licence and the two buttons.
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

    PluginFolderRow addPluginFolderRow (const juce::String& hint, int formatId);

    // Asks whether to abort the installation; true when the user chose "Abort".
    static bool abortQuestion (juce::Component* associatedComponent);

    // "Accept and install": creates the chosen folders, runs the job, then reports the outcome
    // or, after a cancel, removes a stand-alone folder that this attempt created.
    void startInstallation();

    // The choices on the screen right now, as the job reads them.
    InstallOptions getInstallOptions() const;

    // Ends the installer; tests replace it to observe the request instead.
    std::function<void()> quitApplication;

    const juce::Array<PluginFolderRow>& getPluginRows() const { return pluginRows; }
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
    static constexpr int headerHeight = 110;

private:
    void setImagesOfBrowseButton (juce::ImageButton& button);
    void browseForFolder (const juce::String& title, juce::TextEditor& editor);
    void updateAccessibleTitles();
    void loadStandaloneFolder();
    void loadPluginFolders();
    juce::String detectDefaultPluginFolder() const;
    void completionReport();

    juce::Array<PluginFolderRow> pluginRows;
    juce::OwnedArray<juce::ImageButton> browseButtons;
    juce::OwnedArray<juce::TextEditor> folderEditors;
    juce::OwnedArray<juce::ComboBox> formatBoxes;
    juce::TextEditor licenceView;
    juce::TextEditor standaloneFolderEditor;
    juce::TextButton cancelButton;
    juce::TextButton installButton;
    juce::TextButton addRowButton;
    juce::Label standaloneLabel;
    juce::Label pluginLabel;
    juce::Label shortcutLabel;
    juce::File appDataFolder;
    juce::ImageButton standaloneBrowseButton;
    juce::ToggleButton shortcutToggle;
    juce::Image productLogo, makerLogo, backgroundTile, folderIcon;
    InstallProperties properties;
    InstallThread installThread;
    juce::String errorText;

    // Restored rows whose start-up format notification is still pending: remembered folders
    // must survive it, even for VST3 formats.
    juce::Array<juce::ComboBox*> restoredFormatBoxes;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InstallerComponent)
};
