// Any bytes as a wrapped LAS file: the detection and the unwrapping end without a
// crash, and only a finished copy is ever put in place.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzFiles.h"
#include "las/Unwrap.h"
#include "platform/JobProgress.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  const std::string source = fuzz::WriteInput("wrapped.las", data, size);
  const std::string target = fuzz::ScratchFolder() + "/unwrapped.las";
  ::unlink(target.c_str());
  (void)IsWrappedLas(source);
  CNullProgress progress;
  const CResult result = UnwrapLas(source, target, progress);
  if (result.Ok() != (::access(target.c_str(), F_OK) == 0)) std::abort();
  return 0;
}
