#pragma once
// The file paths a configuration file holds. A relative path there is taken from the
// configuration file's own folder, so that a configuration kept beside its data (the
// bundled example) works from wherever it is opened; one that names its files that
// way keeps naming them so when saved again.
#include <string>
#include <string_view>

namespace corvane {

// The path that `stored`, read from the configuration file at `configFilePath`, names:
// an absolute or empty one as it stands, a relative one from the file's folder.
std::string ResolveStoredPath(std::string_view stored, const std::string& configFilePath);

// What a save writes for `path` into the configuration file at `configFilePath`, which
// holds `storedBefore` for it: that text again when it still names the same file (a
// relative path stays relative), else `path`, made absolute when it is relative (it is
// relative to the working folder, which a later reader of the file does not know).
std::string PathToStore(const std::string& path, std::string_view storedBefore,
                        const std::string& configFilePath);

// What a new configuration file at `configFilePath` stores for `path`: relative to the
// configuration's folder when the file stands in that folder or below it (the two then
// move together), else the absolute path.
std::string PathForNewConfiguration(const std::string& path, const std::string& configFilePath);

}  // namespace corvane
