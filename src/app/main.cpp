// The configurator: creates every window once, the main window first, and runs until the main
// window closes.
#include <csignal>
#include <cstdio>

#include <QApplication>
#include <QCommandLineParser>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/product.h"
#include "app/window_set.h"

int main(int argc, char** argv) {
  // A write beyond the file size limit must fail like a full disk, so that the output is left
  // as it was and the user gets a message; the default action would end the process mid-write.
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication app(argc, argv);
  QApplication::setApplicationName("Brenvale");
  QApplication::setApplicationDisplayName(QString::fromUtf8(brenvale::kProductCode));
  QApplication::setApplicationVersion(QString::fromUtf8(brenvale::kVersion));

  QCommandLineParser parser;
  parser.setApplicationDescription("Configurator of the Talvik J1939 / CANopen converter");
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption app_dir(QStringLiteral("app-dir"), "Use DIR as the application folder.", "DIR");
  const QCommandLineOption quit_when_shown(QStringLiteral("quit-when-shown"), "Quit once the main window has been painted.");
  QCommandLineOption count_widgets(QStringLiteral("count-widgets"), "Print the main window's widget count and quit.");
  count_widgets.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(app_dir);
  parser.addOption(quit_when_shown);
  parser.addOption(count_widgets);
  parser.process(app);

  const std::filesystem::path folder = parser.isSet(app_dir)
                                           ? std::filesystem::path(parser.value(app_dir).toStdString())
                                           : brenvale::executable_folder();
  brenvale::AppState state(brenvale::AppFolders{folder});
  brenvale::WindowSet windows(state);
  if (parser.isSet(count_widgets)) {
    // The start-up benchmark builds its bare yardstick window with as many widgets.
    std::printf("%d\n", static_cast<int>(windows.main->findChildren<QWidget*>().size()));
    return 0;
  }
  windows.main->set_quit_when_shown(parser.isSet(quit_when_shown));
  windows.main->show();
  return QApplication::exec();
}
