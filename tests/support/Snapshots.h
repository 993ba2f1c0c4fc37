#pragma once

#include <juce_core/juce_core.h>

#include <set>

// What is on the machine, as sets of lines that compare before and after an installation.

// Every file and folder below root as a path relative to it, a folder's with a closing "/".
// Left out: the registry stand-in's file (its records are compared on their own) and its
// folder while that holds nothing else; hidden ones unless withHidden; and the desktop's caches
// (".cache"), which any program with a window may make.
std::set<juce::String> fileTree (const juce::File& root, bool withHidden);

// The registry stand-in's keys and values, one line each, without the header.
std::set<juce::String> registryRecords();

// One line per item, for a comparison whose failure shows what differs.
juce::String asText (const std::set<juce::String>& items);
