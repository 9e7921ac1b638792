// Renders the main window with the LAS window of a LAS file into a PNG file,
// offscreen, the readout of a depth in its status bar; with CHECK.png, the window's
// Check tab too, the last finding chosen. Usage:
//   corvane-las-screenshot FILE.las OUTPUT.png [CHECK.png]
// Writes nothing else: the settings go to a scratch folder.
#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cstdio>

#include "app/CorvaneApp.h"
#include "app/MainFrame.h"
#include "lasview/CrossplotWindow.h"
#include "lasview/LasWindow.h"
#include "lasview/PlotCanvas.h"
#include "lasview/TrackPanel.h"

using namespace corvane;

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() < 3 || arguments.size() > 5) {
    std::fprintf(stderr, "usage: corvane-las-screenshot FILE.las OUTPUT.png [CHECK.png|-] [CROSSPLOT.png]\n");
    return 2;
  }
  QTemporaryDir scratch;
  CCorvaneApp::Options options;
  options.settingsFile = scratch.filePath(QStringLiteral("settings.ini"));
  options.plotTemplateDir = scratch.filePath(QStringLiteral("templates"));
  CCorvaneApp app(options);
  if (!app.InitInstance()) return 1;
  CMainFrame* frame = app.MainFrame();
  frame->showNormal();
  frame->resize(1280, 820);
  CLasWindow* window = app.OpenLasFile(arguments.at(1));
  if (!window) return 1;
  frame->MdiArea()->activeSubWindow()->showMaximized();
  QElapsedTimer clock;
  clock.start();
  CLasSession& session = window->Session();
  while (session.Loading() && clock.elapsed() < 60000) QApplication::processEvents(QEventLoop::AllEvents, 50);
  // The standard layout, a closer look at a stretch, the neutron-density track selected
  // (its crossover fill in the panel), the readout of the middle.
  auto* canvas = window->findChild<CPlotCanvas*>();
  auto* tracks = window->findChild<CTrackPanel*>();
  if (session.Layout().tracks.size() > 2) tracks->Select(2, -1);
  const double top = session.Top() + (session.Base() - session.Top()) * 0.38;
  session.SetDepthRange(top, top + (session.Base() - session.Top()) / 4);
  QApplication::processEvents();
  const QPointF middle(canvas->width() * 0.6, canvas->height() * 0.55);
  QMouseEvent move(QEvent::MouseMove, middle, canvas->mapToGlobal(middle), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(canvas, &move);
  QApplication::processEvents();
  if (!frame->grab().save(arguments.at(2))) {
    std::fprintf(stderr, "corvane-las-screenshot: cannot write %s\n", qPrintable(arguments.at(2)));
    return 1;
  }
  if (arguments.size() == 3) return 0;
  if (arguments.at(3) == QLatin1String("-")) {
    // The crossplot of the whole log beside it, the pointer on a reading.
    session.ShowWhole();
    CCrossplotWindow* crossplot = window->OpenCrossplot();
    frame->MdiArea()->activeSubWindow()->showMaximized();
    crossplot->Wait();
    QApplication::processEvents();
    auto* plot = crossplot->findChild<QWidget*>(QStringLiteral("crossplotCanvas"));
    const QPointF at(plot->width() * 0.55, plot->height() * 0.45);
    QMouseEvent over(QEvent::MouseMove, at, plot->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(plot, &over);
    QApplication::processEvents();
    if (arguments.size() > 4 && !frame->grab().save(arguments.at(4))) {
      std::fprintf(stderr, "corvane-las-screenshot: cannot write %s\n", qPrintable(arguments.at(4)));
      return 1;
    }
    return 0;
  }
  window->findChild<QTabWidget*>(QStringLiteral("panes"))->setCurrentIndex(2);
  clock.restart();
  while (!session.Check().Report() && clock.elapsed() < 60000)
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  auto* table = window->findChild<QTableWidget*>(QStringLiteral("findings"));
  if (table->rowCount() > 0) table->selectRow(table->rowCount() - 1);
  frame->statusBar()->clearMessage();
  QApplication::processEvents();
  if (!frame->grab().save(arguments.at(3))) {
    std::fprintf(stderr, "corvane-las-screenshot: cannot write %s\n", qPrintable(arguments.at(3)));
    return 1;
  }
  return 0;
}
