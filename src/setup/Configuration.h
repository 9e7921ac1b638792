#pragma once
// The configuration file (".lah"): the setup kept between runs.
#include "setup/ConversionSetup.h"

namespace corvane {

// Reads the file named by setup.configFilePath into the setup (meant for a newly
// constructed setup: curves are appended). False, with the setup unchanged, when the
// path is empty, the file cannot be read, or its "ID" is not exactly "Corvane".
bool LoadConfiguration(CConversionSetup& setup);

// Writes the setup into the file named by setup.configFilePath, as one batch of
// key writes replaced atomically. Does nothing (and returns true) when the path is
// empty. False when the file could not be written; the file is then as it was.
bool SaveConfiguration(const CConversionSetup& setup);

}  // namespace corvane
