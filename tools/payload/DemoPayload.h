#pragma once

#include "tools/payload/Zipper.h"

// A deterministic stand-in for the product's files with the payload's layout: the same
// entries in the same order with the same bytes on every run.
std::vector<PayloadEntry> demoPayload();
