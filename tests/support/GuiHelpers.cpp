#include "tests/support/GuiHelpers.h"

void pumpMessages (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

juce::AlertWindow* findModalAlert()
{
    for (int i = juce::ModalComponentManager::getInstance()->getNumModalComponents(); --i >= 0;)
        if (auto* alert = dynamic_cast<juce::AlertWindow*> (juce::Component::getCurrentlyModalComponent (i)))
            if (alert->isVisible())
                return alert;

    return nullptr;
}

SeenDialog describe (juce::AlertWindow& alert)
{
    SeenDialog d;
    d.title = alert.getName();
    // The accessible description is "<title>. <message>".
    d.message = alert.getDescription().fromFirstOccurrenceOf (d.title + ". ", false, false);
    d.icon = alert.getAlertType();

    for (auto* child : alert.getChildren())
        if (auto* b = dynamic_cast<juce::TextButton*> (child))
            d.buttons.add (b->getButtonText());

    return d;
}

DialogAnswerer::DialogAnswerer (juce::String buttonToPress) : DialogAnswerer (juce::StringArray (buttonToPress))
{
}

DialogAnswerer::DialogAnswerer (juce::StringArray buttonsInTurn) : buttons (std::move (buttonsInTurn))
{
    startTimer (20);
}

DialogAnswerer::~DialogAnswerer()
{
    stopTimer();
}

void DialogAnswerer::timerCallback()
{
    if (seen.size() >= buttons.size() && ! answerAll)
        return;

    if (auto* alert = findModalAlert(); alert != nullptr && alert != lastAnswered.getComponent())
    {
        lastAnswered = alert;
        seen.add (describe (*alert));
        alert->triggerButtonClick (buttons[juce::jmin (seen.size(), buttons.size()) - 1]);
    }
}
