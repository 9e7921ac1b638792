#pragma once
// Why a file named in a box cannot be used, said the way the message boxes' second
// line says it: "/data/out/well.las: No such file or directory".
#include <QString>

namespace corvane {

// Empty when `path` names a regular file that can be opened for reading; otherwise the
// path and the system's reason. `what` names the file in the text given for an empty
// path ("No LAS file is chosen.").
QString FileProblem(const QString& path, const QString& whatForEmpty);

// The path and the system's reason for a failure with `error` (an errno value).
QString SystemReason(const QString& path, int error);

}  // namespace corvane
