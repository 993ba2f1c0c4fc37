#include "ui/InstallerComponent.h"
#include "product/Product.h"
#include "platform/Registry.h"
#include "platform/SpecialFolders.h"
#include "resources/BinaryResources.h"
#include "targets/FolderText.h"
#include "targets/PluginFormat.h"

namespace
{
    const juce::Colour hintGrey { 0xff808080 };
    const juce::String extraRowHint { "extra plugin directory (optional)" };

    juce::Image loadImage (BinaryResources::Block block)
    {
        return juce::ImageCache::getFromMemory (block.data, static_cast<int> (block.size));
    }

    juce::String licenceText()
    {
        const auto block = BinaryResources::licence();
        return juce::String::fromUTF8 (static_cast<const char*> (block.data), static_cast<int> (block.size));
    }
}

InstallerComponent::InstallerComponent()
    : quitApplication ([] { juce::JUCEApplicationBase::getInstance()->systemRequestedQuit(); }),
      appDataFolder (SpecialFolders::applicationData()),
      properties (appDataFolder),
      installThread (*this)
{
    for (auto* c : std::initializer_list<juce::Component*> { &licenceView, &cancelButton, &installButton, &addRowButton,
                                                             &standaloneFolderEditor, &standaloneBrowseButton,
                                                             &standaloneLabel, &pluginLabel, &shortcutToggle, &shortcutLabel })
        addAndMakeVisible (c);

    productLogo = loadImage (BinaryResources::productLogo());
    makerLogo = loadImage (BinaryResources::makerLogo());
    backgroundTile = loadImage (BinaryResources::backgroundTile());
    folderIcon = loadImage (BinaryResources::folderIcon());

    pluginRows.add (addPluginFolderRow ("plugin directory", vst32));
    pluginRows.add (addPluginFolderRow (extraRowHint, vst64));
    pluginRows.add (addPluginFolderRow (extraRowHint, vst3_32));

    for (auto* b : std::initializer_list<juce::Button*> { &cancelButton, &installButton, &addRowButton,
                                                          &standaloneBrowseButton, &shortcutToggle })
        b->addListener (this);

    standaloneFolderEditor.setTextToShowWhenEmpty ("programs directory", hintGrey);

    licenceView.setReadOnly (true);
    licenceView.setMultiLine (true, true);
    licenceView.setScrollbarsShown (true);
    licenceView.setText (licenceText(), false);
    licenceView.applyFontToAllText (juce::Font (16.0f, juce::Font::plain));

    properties.loadProperties();
    loadStandaloneFolder();
    loadPluginFolders();

    shortcutToggle.setToggleState (true, juce::dontSendNotification);

    installButton.setButtonText ("Accept and install");
    cancelButton.setButtonText ("Cancel");
    addRowButton.setButtonText ("+");

    setImagesOfBrowseButton (standaloneBrowseButton);

    standaloneLabel.setText ("Standalone", juce::dontSendNotification);
    shortcutLabel.setText ("Create desktop shortcut", juce::dontSendNotification);
    pluginLabel.setText ("Plugin", juce::dontSendNotification);

    pluginLabel.attachToComponent (pluginRows.getFirst().folderEditor, true);
    standaloneLabel.attachToComponent (&standaloneFolderEditor, true);
    shortcutLabel.attachToComponent (&shortcutToggle, true);

    // Tab walks the controls from top to bottom (JUCE orders siblings by position).
    setFocusContainerType (FocusContainerType::keyboardFocusContainer);
    updateAccessibleTitles();
}

InstallerComponent::~InstallerComponent() = default;

PluginFolderRow InstallerComponent::addPluginFolderRow (const juce::String& hint, int formatId)
{
    auto* browseButton = new juce::ImageButton();
    addAndMakeVisible (browseButton);
    auto* folderEditor = new juce::TextEditor();
    addAndMakeVisible (folderEditor);
    auto* formatBox = new juce::ComboBox();
    addAndMakeVisible (formatBox);

    browseButtons.add (browseButton);
    folderEditors.add (folderEditor);
    formatBoxes.add (formatBox);

    folderEditor->setTextToShowWhenEmpty (hint, hintGrey);

    for (auto format : { vst32, vst64, vst3_32, vst3_64 })
        formatBox->addItem (getFormatLabel (format), format);

    formatBox->setSelectedId (formatId, juce::sendNotificationAsync);
    formatBox->addListener (this);

    setImagesOfBrowseButton (*browseButton);
    browseButton->addListener (this);

    updateAccessibleTitles();
    return { browseButton, folderEditor, formatBox };
}

void InstallerComponent::setImagesOfBrowseButton (juce::ImageButton& button)
{
    const juce::Colour noOverlay (0x00000000);
    button.setImages (false, false, true,
                      folderIcon, 0.7f, noOverlay,
                      {}, 1.0f, noOverlay,
                      {}, 1.0f, noOverlay,
                      0.0f);
}

void InstallerComponent::updateAccessibleTitles()
{
    for (int i = 0; i < browseButtons.size(); ++i)
    {
        const auto number = juce::String (i + 1);
        browseButtons[i]->setTitle ("Browse for plugin folder " + number);
        folderEditors[i]->setTitle ("Plugin folder " + number);
        formatBoxes[i]->setTitle ("Plugin format " + number);
    }

    standaloneFolderEditor.setTitle ("Standalone folder");
    standaloneBrowseButton.setTitle ("Browse for standalone folder");
    shortcutToggle.setTitle ("Create desktop shortcut");
    licenceView.setTitle ("License agreement");
    addRowButton.setTitle ("Add plugin folder");
    cancelButton.setTitle ("Cancel");
    installButton.setTitle ("Accept and install");
}

juce::String InstallerComponent::versionLine()
{
    return juce::String (Product::name) + " v" + Product::versionString() + " build " + juce::String (Product::build);
}

void InstallerComponent::paint (juce::Graphics& g)
{
    auto header = getLocalBounds().removeFromTop (headerHeight).withTrimmedRight (25);

    g.drawImage (backgroundTile, 0, 0, getWidth(), getHeight(),
                 0, 0, backgroundTile.getWidth(), backgroundTile.getHeight(), false);

    g.drawImageAt (productLogo, 30, 20);

    g.setColour (juce::Colour (0xff808080));
    g.drawText (versionLine(), juce::Rectangle<int> (90, 63, 140, 30), juce::Justification::centredLeft, false);

    g.setColour (juce::Colours::white);
    const auto makerArea = header.removeFromRight (2 * makerLogo.getWidth() / 3);
    g.drawImageWithin (makerLogo, makerArea.getX(), makerArea.getY(), makerArea.getWidth(), makerArea.getHeight(),
                       juce::RectanglePlacement::centred);
}

void InstallerComponent::resized()
{
    const auto width = getWidth();
    auto area = getLocalBounds().reduced (width / 8, 10);
    area.removeFromTop (100);

    for (int i = 0; i < pluginRows.size(); ++i)
    {
        const auto& row = pluginRows.getReference (i);
        auto rowArea = area.removeFromTop (25);
        rowArea.removeFromLeft (30);
        row.browseButton->setBounds (rowArea.removeFromRight (25));
        rowArea.removeFromRight (8);
        row.formatBox->setBounds (rowArea.removeFromRight (95));
        rowArea.removeFromRight (5);
        row.folderEditor->setBounds (rowArea);

        if (i > 0 && i == pluginRows.size() - 1)
            addRowButton.setBounds (rowArea.getX() - 40, rowArea.getY(), 35, rowArea.getHeight());

        area.removeFromTop (5);
    }

    area.removeFromTop (8);
    auto standaloneRow = area.removeFromTop (25);
    standaloneRow.removeFromLeft (30);
    standaloneBrowseButton.setBounds (standaloneRow.removeFromRight (25));
    standaloneRow.removeFromRight (8);
    standaloneFolderEditor.setBounds (standaloneRow);

    area.removeFromTop (20);
    shortcutToggle.setBounds (area.getX() + area.getWidth() / 2 - 12, area.getY(), 24, 24);
    area.removeFromTop (35);

    auto bottom = area.removeFromBottom (60).reduced (50, 0);
    bottom.removeFromBottom (25);
    cancelButton.setBounds (bottom.removeFromLeft (width / 5 - 2));
    bottom.removeFromLeft (4);
    installButton.setBounds (bottom.removeFromLeft ((2 * width) / 5 - 2));

    licenceView.setBounds (area.expanded (50, 0).reduced (0, 50));
}

void InstallerComponent::buttonClicked (juce::Button* button)
{
    for (const auto& row : pluginRows)
        if (button == row.browseButton)
            browseForFolder ("Open plugin directory", *row.folderEditor);

    if (button == &standaloneBrowseButton)
    {
        browseForFolder ("Open directory for standalone application", standaloneFolderEditor);
    }
    else if (button == &cancelButton)
    {
        if (abortQuestion (this))
            quitApplication();
    }
    else if (button == &installButton)
    {
        startInstallation();
    }
    else if (button == &addRowButton)
    {
        pluginRows.add (addPluginFolderRow (extraRowHint, vst32));

        if (auto* window = getParentComponent())
            window->setBounds (window->getX(), window->getY(), getWidth(), getHeight() + 35);
    }
}

void InstallerComponent::comboBoxChanged (juce::ComboBox* box)
{
    if (restoredFormatBoxes.contains (box))
    {
        restoredFormatBoxes.removeAllInstancesOf (box);
        return;
    }

    for (const auto& row : pluginRows)
    {
        if (row.formatBox != box)
            continue;

        const auto format = box->getSelectedId();

        if (format == vst3_32 || format == vst3_64)
            row.folderEditor->setText (juce::String ("C:\\Program Files") + (format == vst3_32 ? " (x86)" : "")
                                       + "\\Common Files\\VST3\\");
        return;
    }
}

void InstallerComponent::browseForFolder (const juce::String& title, juce::TextEditor& editor)
{
    juce::FileChooser chooser (title, juce::File (editor.getText()), {}, true);

    if (chooser.browseForDirectory())
    {
        const auto path = chooser.getResult().getFullPathName();

        if (path.isNotEmpty())
            editor.setText (path, true);
    }
}

bool InstallerComponent::abortQuestion (juce::Component* associatedComponent)
{
    return juce::AlertWindow::showOkCancelBox (juce::MessageBoxIconType::WarningIcon,
                                               "Abort installation",
                                               "Do you really want to stop installation?",
                                               "Abort", "Cancel", associatedComponent, nullptr);
}

void InstallerComponent::loadStandaloneFolder()
{
    const auto remembered = properties.getSetting ("InstallDir", {}, InstallProperties::productRegistryKey());

    if (remembered.length() > 2)
        standaloneFolderEditor.setText (remembered, false);
    else
        standaloneFolderEditor.setText (FolderText::forDisplay (SpecialFolders::programFiles().getFullPathName()
                                                                + "/" + Product::maker + "/" + Product::name),
                                        false);
}

void InstallerComponent::loadPluginFolders()
{
    const juce::String key (InstallProperties::productRegistryKey());
    bool row0Restored = false;

    for (int i = 0; i < 5; ++i)
    {
        const auto& row = pluginRows.getReference (i);
        const auto letter = juce::String::charToString (static_cast<juce::juce_wchar> ('A' + i));
        const auto folder = properties.getSetting ("PluginInstallDir" + (i == 0 ? juce::String() : juce::String (i + 1)), {}, key);
        const auto bits = properties.getSetting ("PluginBits" + letter, "32", key);
        const auto format = properties.getSetting ("Format" + letter, {}, key);

        if (folder.isEmpty())
            break;

        row.formatBox->setSelectedId (parseFormat (format, bits), juce::dontSendNotification);
        restoredFormatBoxes.addIfNotAlreadyThere (row.formatBox);

        if (folder.length() >= 2)
        {
            row.folderEditor->setText (folder.replace ("//", "/"), false);
            row0Restored = row0Restored || i == 0;
        }

        if (i + 1 >= pluginRows.size())
        {
            pluginRows.add (addPluginFolderRow (extraRowHint, vst32));
            resized();
        }
    }

    if (! row0Restored)
        pluginRows.getReference (0).folderEditor->setText (detectDefaultPluginFolder(), false);
}

juce::String InstallerComponent::detectDefaultPluginFolder() const
{
    auto candidate = Registry::getValue ("HKEY_CURRENT_USER\\Software\\VST\\VSTPluginsPath");

    if (candidate.isEmpty())
    {
        const auto host = Registry::getValue ("HKEY_CURRENT_USER\\Software\\Image-Line\\Shared\\Paths\\FL Studio");

        if (host.isNotEmpty())
        {
            const auto hostPlugins = juce::File (host).getParentDirectory().getChildFile ("Plugins").getChildFile ("VST");

            if (hostPlugins.exists())
                candidate = hostPlugins.getFullPathName();
        }
    }

    if (candidate.isNotEmpty() && ! candidate.endsWith ("/"))
        candidate += "/";

    if (candidate.isEmpty())
    {
        const auto programFiles = SpecialFolders::programFiles().getFullPathName();
        const auto steinberg = programFiles + "/Steinberg/VstPlugins";
        candidate = juce::File (steinberg).exists() ? steinberg : programFiles + "/VstPlugins";
    }

    return FolderText::forDisplay (candidate);
}

InstallOptions InstallerComponent::getInstallOptions() const
{
    InstallOptions options;

    for (const auto& row : pluginRows)
        options.pluginRows.add ({ row.folderEditor->getText(), row.formatBox->getSelectedId() });

    options.standaloneFolder = standaloneFolderEditor.getText();
    options.createDesktopShortcut = shortcutToggle.getToggleState();
    return options;
}

void InstallerComponent::startInstallation()
{
    juce::String errorTitle, errorMessage;
    const juce::File standaloneFolder (FolderText::withPlatformSeparators (standaloneFolderEditor.getText()));
    const auto standaloneExisted = standaloneFolder.exists();

    for (int i = 0; i < pluginRows.size(); ++i)
    {
        const auto text = pluginRows.getReference (i).folderEditor->getText();
        const juce::File folder (text);

        if (text.isEmpty() || folder.exists())
            continue;

        const auto created = folder.createDirectory();

        if (created.failed())
        {
            errorTitle = "Couldn't create plugin directory";
            errorMessage = created.getErrorMessage() + "\n";

            if (i > 0)
                errorMessage += "Please select a valid directory (or none at all)";

            break;
        }
    }

    if (errorTitle.isEmpty())
    {
        const auto created = standaloneFolder.createDirectory();

        if (created.failed())
        {
            errorTitle = "Could not create standalone install directory";
            errorMessage = created.getErrorMessage() + Product::administratorHint();
        }
    }

    if (errorTitle.isNotEmpty())
    {
        juce::AlertWindow::showMessageBoxAsync (juce::MessageBoxIconType::WarningIcon, errorTitle, errorMessage, "OK");
        return;
    }

    if (installThread.install (getInstallOptions()))
        completionReport();
    else if (! standaloneExisted && standaloneFolder.exists())
        standaloneFolder.deleteRecursively();
}

void InstallerComponent::completionReport()
{
    juce::String report;

    if (errorText.isNotEmpty())
        report = "The following errors occurred during installation:\n" + errorText;

    juce::AlertWindow::showMessageBox (juce::MessageBoxIconType::NoIcon, "Installation Complete",
                                       "Thank you for installing " + juce::String (Product::name) + "!\n" + report,
                                       "Ok", this);
    quitApplication();
}
