#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

// Runs the message loop for a while, so that asynchronous notifications and clicks arrive.
void pumpMessages (int milliseconds = 50);

// What a dialog showed when it was answered.
struct SeenDialog
{
    juce::String title, message;
    juce::MessageBoxIconType icon = juce::MessageBoxIconType::NoIcon;
    juce::StringArray buttons;
};

// Answers the next modal alert box that appears by pressing the named button, and records
// what it showed. Works while the code under test sits in the box's modal loop.
class DialogAnswerer : private juce::Timer
{
public:
    explicit DialogAnswerer (juce::String buttonToPress);

    // Answers the boxes in turn: the first with the first button, the next with the next.
    explicit DialogAnswerer (juce::StringArray buttonsInTurn);
    ~DialogAnswerer() override;

    bool answered() const { return seen.size() > 0; }
    const juce::Array<SeenDialog>& dialogs() const { return seen; }

    // Answers every further box with the same button, not just the first.
    void keepAnswering() { answerAll = true; }

private:
    void timerCallback() override;

    juce::StringArray buttons;
    bool answerAll = false;
    juce::Array<SeenDialog> seen;
    juce::Component::SafePointer<juce::AlertWindow> lastAnswered;
};

// The modal alert box on screen, if any.
juce::AlertWindow* findModalAlert();

// Reads what an alert box shows.
SeenDialog describe (juce::AlertWindow& alert);
