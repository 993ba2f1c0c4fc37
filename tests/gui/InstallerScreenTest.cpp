#include <gtest/gtest.h>

#include "app/InstallerWindow.h"
#include "ui/InstallerComponent.h"
#include "resources/BinaryResources.h"
#include "tests/support/GuiHelpers.h"
#include "tests/support/Sandbox.h"

namespace
{
    using juce::Rectangle;

    // The screen inside the real window, at the start-up size.
    struct WindowFixture : public ::testing::Test
    {
        Sandbox sandbox;
        std::unique_ptr<InstallerWindow> window;

        void SetUp() override
        {
            window = std::make_unique<InstallerWindow>();
            window->setSize (InstallerWindow::startWidth, InstallerWindow::startHeight);
            window->setVisible (true);
            pumpMessages();
        }

        InstallerComponent& screen() { return window->getScreen(); }
        const PluginFolderRow& row (int i) { return *screen().getPluginRows()[i]; }
    };

    int countAddRowButtonRows (InstallerComponent& screen)
    {
        int beside = 0;
        for (auto* r : screen.getPluginRows())
            if (screen.getAddRowButton().getY() == r->folderEditor->getY())
                ++beside;
        return beside;
    }
}

TEST_F (WindowFixture, WindowHasItsFixedTitleSizeAndButtons)
{
    EXPECT_EQ (window->getName(), "Sorna demo - Installer");
    EXPECT_EQ (window->getWidth(), 800);
    EXPECT_EQ (window->getHeight(), 720);
    EXPECT_EQ (screen().getWidth(), 798);
    EXPECT_EQ (screen().getHeight(), 693);
    EXPECT_EQ (window->getTitleBarHeight(), 25);
    EXPECT_FALSE (window->isResizable());
    EXPECT_FALSE (window->isUsingNativeTitleBar());
    EXPECT_EQ (window->getDesktopWindowStyleFlags() & juce::ComponentPeer::windowHasMaximiseButton, 0);
    ASSERT_NE (window->getCloseButton(), nullptr);
    ASSERT_NE (window->getMinimiseButton(), nullptr);
    EXPECT_EQ (window->getMaximiseButton(), nullptr);
    EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), &window->getLookAndFeel());
}

TEST_F (WindowFixture, ControlsSitAtTheWorkedLayout)
{
    for (int i = 0; i < 3; ++i)
    {
        const int y = 110 + 30 * i;
        EXPECT_EQ (row (i).folderEditor->getBounds(), Rectangle<int> (129, y, 437, 25)) << i;
        EXPECT_EQ (row (i).formatBox->getBounds(), Rectangle<int> (571, y, 95, 25)) << i;
        EXPECT_EQ (row (i).browseButton->getBounds(), Rectangle<int> (674, y, 25, 25)) << i;
    }

    EXPECT_EQ (screen().getAddRowButton().getBounds(), Rectangle<int> (89, 170, 35, 25));
    EXPECT_EQ (screen().getStandaloneFolderEditor().getBounds(), Rectangle<int> (129, 208, 537, 25));
    EXPECT_EQ (screen().getStandaloneBrowseButton().getBounds(), Rectangle<int> (674, 208, 25, 25));
    EXPECT_EQ (screen().getShortcutToggle().getBounds(), Rectangle<int> (387, 253, 24, 24));
    EXPECT_EQ (screen().getLicenceView().getBounds(), Rectangle<int> (49, 338, 700, 235));
    EXPECT_EQ (screen().getCancelButton().getBounds(), Rectangle<int> (149, 623, 157, 35));
    EXPECT_EQ (screen().getInstallButton().getBounds(), Rectangle<int> (310, 623, 317, 35));

    EXPECT_EQ (screen().getPluginLabel().getRight(), 129);
    EXPECT_EQ (screen().getStandaloneLabel().getRight(), 129);
    EXPECT_EQ (screen().getShortcutLabel().getRight(), 387);
    EXPECT_EQ (screen().getPluginLabel().getY(), 110);
    EXPECT_EQ (screen().getStandaloneLabel().getY(), 208);
    EXPECT_EQ (screen().getShortcutLabel().getY(), 253);
}

TEST_F (WindowFixture, FivePressesOfPlusGiveEightRowsAndMoveTheRestDown)
{
    const auto windowBefore = window->getBounds();
    const auto licenceBefore = screen().getLicenceView().getBounds();

    for (int press = 1; press <= 5; ++press)
    {
        screen().buttonClicked (&screen().getAddRowButton());
        pumpMessages();

        const int extra = press;
        EXPECT_EQ (screen().getPluginRows().size(), 3 + press);
        EXPECT_EQ (screen().getStandaloneFolderEditor().getY(), 208 + 30 * extra);
        EXPECT_EQ (screen().getShortcutToggle().getY(), 253 + 30 * extra);
        EXPECT_EQ (screen().getLicenceView().getY(), licenceBefore.getY() + 30 * extra);
        // The window grows by 8 per row, so the licence loses 22.
        EXPECT_EQ (screen().getLicenceView().getHeight(), licenceBefore.getHeight() - 22 * extra);
    }

    EXPECT_EQ (window->getWidth(), windowBefore.getWidth() - 10);
    EXPECT_EQ (window->getHeight(), windowBefore.getHeight() + 40);
    EXPECT_EQ (window->getPosition(), windowBefore.getPosition());
    EXPECT_EQ (countAddRowButtonRows (screen()), 1);
    EXPECT_EQ (screen().getAddRowButton().getY(), row (7).folderEditor->getY());

    // A new row starts at VST (32 bit) with the optional-folder hint.
    EXPECT_EQ (row (7).formatBox->getSelectedId(), 1);
    EXPECT_EQ (row (7).folderEditor->getTextToShowWhenEmpty(), "extra plugin directory (optional)");
}

TEST_F (WindowFixture, HintsLicenceAndTexts)
{
    EXPECT_EQ (row (0).folderEditor->getTextToShowWhenEmpty(), "plugin directory");
    EXPECT_EQ (row (1).folderEditor->getTextToShowWhenEmpty(), "extra plugin directory (optional)");
    EXPECT_EQ (row (2).folderEditor->getTextToShowWhenEmpty(), "extra plugin directory (optional)");
    EXPECT_EQ (screen().getStandaloneFolderEditor().getTextToShowWhenEmpty(), "programs directory");

    EXPECT_EQ (screen().getInstallButton().getButtonText(), "Accept and install");
    EXPECT_EQ (screen().getCancelButton().getButtonText(), "Cancel");
    EXPECT_EQ (screen().getAddRowButton().getButtonText(), "+");
    EXPECT_EQ (screen().getStandaloneLabel().getText(), "Standalone");
    EXPECT_EQ (screen().getPluginLabel().getText(), "Plugin");
    EXPECT_EQ (screen().getShortcutLabel().getText(), "Create desktop shortcut");
    EXPECT_TRUE (screen().getShortcutToggle().getToggleState());

    auto& licence = screen().getLicenceView();
    EXPECT_TRUE (licence.isReadOnly());
    EXPECT_TRUE (licence.isMultiLine());
    EXPECT_EQ (licence.getText().length(), 3374);
    EXPECT_TRUE (licence.getText().startsWith ("Sorna End User License Agreement\n\n"));

    juce::StringArray items;
    for (int i = 0; i < row (0).formatBox->getNumItems(); ++i)
        items.add (juce::String (row (0).formatBox->getItemId (i)) + "=" + row (0).formatBox->getItemText (i));
    EXPECT_EQ (items.joinIntoString (","), "1=VST (32 bit),2=VST (64 bit),3=VST3 (32 bit),4=VST3 (64 bit)");
}

TEST_F (WindowFixture, EveryControlHasAnAccessibleTitleAndTabGoesTopToBottom)
{
    EXPECT_EQ (row (0).folderEditor->getTitle(), "Plugin folder 1");
    EXPECT_EQ (row (2).formatBox->getTitle(), "Plugin format 3");
    EXPECT_EQ (row (1).browseButton->getTitle(), "Browse for plugin folder 2");
    EXPECT_EQ (screen().getStandaloneFolderEditor().getTitle(), "Standalone folder");

    auto traverser = screen().createKeyboardFocusTraverser();
    const auto order = traverser->getAllComponents (&screen());
    ASSERT_FALSE (order.empty());

    int previousY = -1;
    for (auto* c : order)
    {
        EXPECT_TRUE (c->getTitle().isNotEmpty()) << c->getBounds().toString();
        EXPECT_GE (c->getY(), previousY) << c->getTitle();
        previousY = c->getY();
    }

    EXPECT_EQ (order.front(), row (0).folderEditor.get());
    EXPECT_EQ (order.back(), &screen().getInstallButton());
}

TEST_F (WindowFixture, PaintShowsTheTileLogosAndVersionLine)
{
    EXPECT_EQ (InstallerComponent::versionLine(), "Sorna v1.8 build 2616");

    const auto block = BinaryResources::productLogo();
    const auto logo = juce::ImageCache::getFromMemory (block.data, static_cast<int> (block.size));
    const auto shot = screen().createComponentSnapshot (screen().getLocalBounds(), false);

    // Opaque logo pixels appear unchanged at (30, 20).
    int compared = 0;
    for (int y = 0; y < logo.getHeight(); y += 3)
        for (int x = 0; x < logo.getWidth(); x += 3)
            if (logo.getPixelAt (x, y).getAlpha() == 255)
            {
                EXPECT_EQ (shot.getPixelAt (30 + x, 20 + y).getARGB(), logo.getPixelAt (x, y).getARGB()) << x << "," << y;
                ++compared;
            }
    EXPECT_GT (compared, 50);

    // The maker logo's light pixels lie inside the 247 x 110 area ending 25 pixels before the
    // right edge, fitted (scaled to 247 x 46) and centred vertically.
    Rectangle<int> bright;
    for (int y = 0; y < 110; ++y)
        for (int x = 400; x < 798; ++x)
            if (shot.getPixelAt (x, y).getBrightness() > 0.55f)
                bright = bright.isEmpty() ? Rectangle<int> (x, y, 1, 1) : bright.getUnion ({ x, y, 1, 1 });
    EXPECT_GE (bright.getX(), 798 - 25 - 247);
    EXPECT_LE (bright.getRight(), 798 - 25);
    EXPECT_GE (bright.getY(), 32);
    EXPECT_LE (bright.getBottom(), 79);

    // Version text: grey pixels inside (90, 63, 140, 30) and right of the logo's word.
    int grey = 0;
    for (int y = 63; y < 93; ++y)
        for (int x = 200; x < 230; ++x)
            if (std::abs (shot.getPixelAt (x, y).getRed() - 0x80) < 24 && shot.getPixelAt (x, y).getRed() > 0x60)
                ++grey;
    EXPECT_GT (grey, 5);

    // The tile covers everything, corners included: nothing is left black.
    for (auto p : { juce::Point<int> (0, 0), { 797, 0 }, { 0, 692 }, { 797, 692 }, { 400, 600 } })
        EXPECT_GT (shot.getPixelAt (p.x, p.y).getBrightness(), 0.04f) << p.toString();
}

TEST_F (WindowFixture, CloseButtonAsksTheAbortQuestion)
{
    int quitRequests = 0;
    screen().quitApplication = [&] { ++quitRequests; };
    row (0).folderEditor->setText ("kept");

    {
        DialogAnswerer answer ("Cancel");
        window->closeButtonPressed();
        ASSERT_TRUE (answer.answered());
        EXPECT_EQ (answer.dialogs().getFirst().title, "Abort installation");
    }
    EXPECT_EQ (quitRequests, 0);
    EXPECT_TRUE (window->isVisible());
    EXPECT_EQ (row (0).folderEditor->getText(), "kept");

    DialogAnswerer answer ("Abort");
    window->closeButtonPressed();
    EXPECT_TRUE (answer.answered());
    EXPECT_EQ (quitRequests, 1);
}
