#pragma once

#include "tools/payload/Zipper.h"

// A deterministic stand-in for the product's files with the payload's layout: the same
// entries in the same order with the same bytes on every run. A supplied entry (a program the
// build made) replaces the placeholder of that name; the content stays the same bytes.
std::vector<PayloadEntry> demoPayload (const std::vector<PayloadEntry>& supplied = {});
