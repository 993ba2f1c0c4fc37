#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
    // JUCE is initialised once per test process, and only when tests really run (listing the
    // tests for CTest must work without a display).
    class JuceEnvironment : public ::testing::Environment
    {
    public:
        void SetUp() override
        {
            // Without an application instance JUCE would skip installing its X error handler,
            // and the first window would end the process with BadAtom.
            juce::JUCEApplicationBase::createInstance = [] () -> juce::JUCEApplicationBase* { return nullptr; };
            initialiser = std::make_unique<juce::ScopedJuceInitialiser_GUI>();
        }

        void TearDown() override { initialiser.reset(); }

    private:
        std::unique_ptr<juce::ScopedJuceInitialiser_GUI> initialiser;
    };
}

int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);
    ::testing::AddGlobalTestEnvironment (new JuceEnvironment());
    return RUN_ALL_TESTS();
}
