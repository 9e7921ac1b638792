// Any bytes as a configuration file: loading never crashes, hangs or grows without
// bound, and what loads saves and loads back to the same setup.
#include <cstdint>
#include <cstdlib>

#include "FuzzFiles.h"
#include "setup/Configuration.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  CConversionSetup setup;
  setup.configFilePath = fuzz::WriteInput("in.lah", data, size);
  if (!LoadConfiguration(setup).Ok()) return 0;
  setup.digitSamples.resize(setup.curves.size());
  if (!SaveConfiguration(setup).Ok()) std::abort();
  CConversionSetup again;
  again.configFilePath = setup.configFilePath;
  if (!LoadConfiguration(again).Ok()) std::abort();
  return 0;
}
