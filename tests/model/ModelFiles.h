// Writes what the effective menu says the splitter writes for a definition:
// its files under `root`, with the splitter's own stream writers (OutputFiles.h)
// in the same order (so that even colliding file names end alike), and, into
// `out`, the standard output lines that follow "Initial Json". The model test
// and the splitter's fuzz target compare this with what the splitter writes.
#pragma once

#include <string>

#include "EffectiveMenu.h"

// False when a written menu file, read back as JSON where its identifiers allow,
// lists other entries than the model's.
bool RenderModelFiles(const velkin::EffectiveMenu& model, const std::string& root,
                      std::string& out);
