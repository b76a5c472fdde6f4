#pragma once
#include <string>

// The GLSL 1.10 sources of the three shader programs: shaders/default.evs,
// default.efs, shipinv.efs, heat.evs and heat.efs under baseDir (the base/
// folder, with or without a trailing "/"). Creates shaders/ when needed.
// Returns false when a file cannot be written. Single-threaded.
bool WriteShaders(const std::string& baseDir);
