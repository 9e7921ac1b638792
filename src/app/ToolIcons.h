#pragma once
// The pictures of the main window's commands: the desktop theme's where it has one,
// else the style's, else a small drawing of our own.
#include <QIcon>

class QStyle;

namespace corvane {

enum class ToolPicture {
  None,
  New,
  Open,
  OpenLas,
  Save,
  SavePlot,
  Print,
  Cut,
  Copy,
  Paste,
  About,
  ContextHelp
};

QIcon ToolIcon(ToolPicture picture, const QStyle* style);

}  // namespace corvane
