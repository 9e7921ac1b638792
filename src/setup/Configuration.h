#pragma once
// The configuration file (".lah"): the setup kept between runs.
#include <string>

#include "platform/Result.h"
#include "setup/ConversionSetup.h"

namespace corvane {

// Reads the file named by setup.configFilePath into the setup (meant for a newly
// constructed setup: curves are appended). Fails, with the setup unchanged, when the
// path is empty, the file cannot be read, its "ID" is not exactly "Corvane" or its
// curve total is beyond kMaxCurveTotal: the file is then an unrecognized one.
CResult LoadConfiguration(CConversionSetup& setup);

// Writes the setup into the file named by setup.configFilePath, as one batch of
// key writes replaced atomically. Does nothing when the path is empty. On failure
// the file is as it was.
CResult SaveConfiguration(const CConversionSetup& setup);

// Writes the setup as a configuration file of its own at setup.configFilePath: the
// file holds the setup and nothing of an earlier file. An existing file is refused
// (EEXIST) unless `replace`. Paths of files in the configuration's folder or below it
// are stored relative to it. Complete or not at all, as every save.
CResult WriteNewConfiguration(const CConversionSetup& setup, bool replace);

// The text of a new configuration file that holds the setup: two setups that give the
// same text save alike (what a save would change, nothing else, tells them apart).
std::string ConfigurationText(const CConversionSetup& setup);

}  // namespace corvane
