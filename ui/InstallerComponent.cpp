#include "ui/InstallerComponent.h"
#include "install/InstallJob.h"
#include "install/RememberedChoices.h"
#include "product/Product.h"
#include "targets/DefaultFolders.h"
#include "targets/FolderChecks.h"
#include "targets/PluginFormat.h"
#include "ui/ScreenLayout.h"

namespace
{
    const juce::String extraRowHint { "extra plugin directory (optional)" };
}

InstallerComponent::InstallerComponent()
    : quitApplication ([] { juce::JUCEApplicationBase::getInstance()->systemRequestedQuit(); })
{
    for (auto* c : std::initializer_list<juce::Component*> { &licenceView, &cancelButton, &installButton, &addRowButton,
                                                             &standaloneFolderEditor, &standaloneBrowseButton,
                                                             &standaloneLabel, &pluginLabel, &shortcutToggle, &shortcutLabel })
        addAndMakeVisible (c);

    addPluginFolderRow ("plugin directory", vst32);
    addPluginFolderRow (extraRowHint, vst64);
    addPluginFolderRow (extraRowHint, vst3_32);

    for (auto* b : std::initializer_list<juce::Button*> { &cancelButton, &installButton, &addRowButton,
                                                          &standaloneBrowseButton, &shortcutToggle })
        b->addListener (this);

    standaloneFolderEditor.setTextToShowWhenEmpty ("programs directory", ScreenLayout::greyText);

    licenceView.setReadOnly (true);
    licenceView.setMultiLine (true, true);
    licenceView.setScrollbarsShown (true);
    licenceView.setText (ScreenArtwork::licenceText(), false);
    licenceView.applyFontToAllText (juce::Font (ScreenLayout::licenceFontHeight, juce::Font::plain));

    properties.loadProperties();
    loadStandaloneFolder();
    loadPluginFolders();

    shortcutToggle.setToggleState (true, juce::dontSendNotification);

    installButton.setButtonText ("Accept and install");
    cancelButton.setButtonText ("Cancel");
    addRowButton.setButtonText ("+");

    PluginFolderRow::setFolderIcon (standaloneBrowseButton, artwork.getFolderIcon());

    standaloneLabel.setText ("Standalone", juce::dontSendNotification);
    shortcutLabel.setText ("Create desktop shortcut", juce::dontSendNotification);
    pluginLabel.setText ("Plugin", juce::dontSendNotification);

    pluginLabel.attachToComponent (pluginRows.getFirst()->folderEditor.get(), true);
    standaloneLabel.attachToComponent (&standaloneFolderEditor, true);
    shortcutLabel.attachToComponent (&shortcutToggle, true);

    standaloneFolderEditor.setTitle ("Standalone folder");
    standaloneBrowseButton.setTitle ("Browse for standalone folder");
    shortcutToggle.setTitle ("Create desktop shortcut");
    licenceView.setTitle ("License agreement");
    addRowButton.setTitle ("Add plugin folder");
    cancelButton.setTitle ("Cancel");
    installButton.setTitle ("Accept and install");

    // Tab walks the controls from top to bottom (JUCE orders siblings by position).
    setFocusContainerType (FocusContainerType::keyboardFocusContainer);
}

InstallerComponent::~InstallerComponent() = default;

PluginFolderRow& InstallerComponent::addPluginFolderRow (const juce::String& hint, int formatId)
{
    auto* row = pluginRows.add (new PluginFolderRow (hint, formatId, artwork.getFolderIcon()));
    row->addTo (*this, *this, *this);
    row->setNumber (pluginRows.size());
    resized();
    return *row;
}

juce::String InstallerComponent::versionLine()
{
    return juce::String (Product::name) + " v" + Product::versionString() + " build " + juce::String (Product::build);
}

void InstallerComponent::paint (juce::Graphics& g)
{
    artwork.paint (g, getLocalBounds(), versionLine());
}

void InstallerComponent::resized()
{
    using namespace ScreenLayout;
    const auto width = getWidth();
    auto area = getLocalBounds().reduced (width / sideMarginDivisor, verticalMargin);
    area.removeFromTop (rowsTop);

    for (int i = 0; i < pluginRows.size(); ++i)
    {
        const auto folderArea = pluginRows[i]->layOut (area.removeFromTop (rowHeight));

        if (i > 0 && i == pluginRows.size() - 1)
            addRowButton.setBounds (folderArea.getX() - addRowButtonOffset, folderArea.getY(), addRowButtonWidth,
                                    folderArea.getHeight());

        area.removeFromTop (rowGap);
    }

    area.removeFromTop (standaloneRowGap);
    auto standaloneRow = area.removeFromTop (rowHeight);
    standaloneRow.removeFromLeft (labelWidth);
    standaloneBrowseButton.setBounds (standaloneRow.removeFromRight (browseButtonWidth));
    standaloneRow.removeFromRight (browseButtonGap);
    standaloneFolderEditor.setBounds (standaloneRow);

    area.removeFromTop (shortcutGap);
    shortcutToggle.setBounds (area.getX() + area.getWidth() / 2 - shortcutToggleSize / 2, area.getY(),
                              shortcutToggleSize, shortcutToggleSize);
    area.removeFromTop (shortcutRowHeight);

    auto bottom = area.removeFromBottom (buttonAreaHeight).reduced (buttonAreaInset, 0);
    bottom.removeFromBottom (buttonBottomMargin);
    cancelButton.setBounds (bottom.removeFromLeft (cancelButtonWidth (width)));
    bottom.removeFromLeft (buttonGap);
    installButton.setBounds (bottom.removeFromLeft (installButtonWidth (width)));

    licenceView.setBounds (area.expanded (licenceInset, 0).reduced (0, licenceInset));
}

void InstallerComponent::buttonClicked (juce::Button* button)
{
    for (auto* row : pluginRows)
        if (button == row->browseButton.get())
            browseForFolder ("Open plugin directory", *row->folderEditor);

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
        addPluginFolderRow (extraRowHint, vst32);

        if (auto* window = getParentComponent())
            window->setBounds (window->getX(), window->getY(), getWidth(),
                               getHeight() + ScreenLayout::addedRowWindowGrowth);
    }
}

void InstallerComponent::comboBoxChanged (juce::ComboBox* box)
{
    for (auto* row : pluginRows)
    {
        if (row->formatBox.get() != box)
            continue;

        // The notification a restored row's creation left pending must not replace the folder
        // that came back; later switches by the user apply as usual.
        if (std::exchange (row->folderRestored, false))
            return;

        const auto vst3Folder = DefaultFolders::vst3Folder (box->getSelectedId());

        if (vst3Folder.isNotEmpty())
            row->folderEditor->setText (vst3Folder);

        return;
    }
}

void InstallerComponent::browseForFolder (const juce::String& title, juce::TextEditor& editor)
{
    juce::FileChooser chooser (title, juce::File (editor.getText()), {}, useNativeFolderChooser);

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
    const auto remembered = RememberedChoices::readStandaloneFolder (properties);
    standaloneFolderEditor.setText (remembered.isNotEmpty() ? remembered : DefaultFolders::standaloneFolder(), false);
}

void InstallerComponent::loadPluginFolders()
{
    const auto start = RememberedChoices::startingRows (RememberedChoices::readPluginRows (properties), pluginRows.size());

    while (pluginRows.size() < start.rowCount)
        addPluginFolderRow (extraRowHint, vst32);

    for (int i = 0; i < start.restored.size(); ++i)
    {
        auto& row = *pluginRows[i];
        const auto& restored = start.restored.getReference (i);
        row.formatBox->setSelectedId (restored.format, juce::dontSendNotification);

        if (restored.folder.isNotEmpty())
        {
            row.folderEditor->setText (restored.folder, false);
            row.folderRestored = true;
        }
    }

    if (start.firstRowTakesDefault)
        pluginRows.getFirst()->folderEditor->setText (DefaultFolders::pluginFolder(), false);
}

InstallOptions InstallerComponent::getInstallOptions() const
{
    InstallOptions options;

    for (auto* row : pluginRows)
        options.pluginRows.add ({ row->folderEditor->getText(), row->formatBox->getSelectedId() });

    options.standaloneFolder = standaloneFolderEditor.getText();
    options.createDesktopShortcut = shortcutToggle.getToggleState();
    return options;
}

void InstallerComponent::startInstallation()
{
    juce::StringArray pluginFolders;

    for (auto* row : pluginRows)
        pluginFolders.add (row->folderEditor->getText());

    const auto checks = FolderChecks::createChosenFolders (pluginFolders, standaloneFolderEditor.getText());

    if (checks.failed())
    {
        juce::AlertWindow::showMessageBoxAsync (juce::MessageBoxIconType::WarningIcon, checks.errorTitle,
                                                checks.errorMessage, "OK");
        return;
    }

    const auto ranToEnd = installThread.install ([this, options = getInstallOptions()] (InstallProgress& progress)
    {
        return InstallJob (options, properties, errorText, progress).run();
    });

    if (ranToEnd)
        completionReport();
    else
        FolderChecks::removeStandaloneFolderIfCreated (checks);
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
