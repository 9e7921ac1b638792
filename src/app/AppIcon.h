#pragma once
// The program's icon, drawn in code after the installed corvane.svg: a log track with
// its curve on a dark teal ground.
#include <QIcon>

namespace corvane {

QIcon CorvaneIcon();

}  // namespace corvane
