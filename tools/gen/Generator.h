#pragma once

#include "tools/gen/Options.h"

#include <cstdint>
#include <string>
#include <vector>

namespace gen {

/// What one run wrote.
struct GenResult {
    std::vector<std::string> files; // full paths, observation file first
    std::int64_t epochs = 0;        // observation epochs written
    std::uint64_t observationBytes = 0;
    int satellitesSeen = 0;
};

/// The common name of the file set without its last letter, e.g. "quil3430.26".
std::string fileStem(const GenOptions& options);

/// Writes the observation file and its companions into options.outDir. False with a message
/// when a file cannot be written.
bool generate(const GenOptions& options, GenResult& result, std::string& error);

} // namespace gen
