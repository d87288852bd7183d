#include "app/run_application.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "encoding/code_page.h"

namespace zembrolt {
namespace {

constexpr char kErrorTitle[] = "Zembrolt Morvessa";

// Qt reports a display it cannot open as a fatal message and then aborts.
// While the display is being opened, its messages are held back; a fatal one
// becomes one line of ours and the process ends with the failure code instead
// of a core dump. The held messages go to Qt's own output once it is open.
struct HeldMessage {
  QtMsgType type;
  std::string category;
  QString text;
};
std::vector<HeldMessage>* heldMessages = nullptr;
QtMessageHandler previousHandler = nullptr;

void HoldStartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    // Nothing is left to do if stderr itself fails: the exit status still tells.
    (void)std::fputs("zembrolt: cannot open the display; the window cannot be shown\n", stderr);
    (void)std::fflush(stderr);
    std::_Exit(kFailureExitCode);
  }
  if (heldMessages == nullptr) return;
  HeldMessage held{type, context.category ? context.category : "", text};
  heldMessages->push_back(std::move(held));
}

void ReleaseStartupMessages() {
  qInstallMessageHandler(previousHandler);
  std::vector<HeldMessage> held;
  std::swap(held, *heldMessages);
  delete heldMessages;
  heldMessages = nullptr;
  for (const HeldMessage& message : held) {
    QMessageLogContext context(nullptr, 0, nullptr, message.category.c_str());
    qt_message_output(message.type, context, message.text);
  }
}

void ShowErrorBox(const QString& message) {
  QMessageBox::critical(nullptr, QString::fromLatin1(kErrorTitle), message, QMessageBox::Ok);
}

}  // namespace

StartupHooks DefaultStartupHooks() { return {CreateMainWindow, ShowErrorBox}; }

int RunApplication(int& argc, char** argv, const StartupHooks& hooks) {
  heldMessages = new std::vector<HeldMessage>;
  previousHandler = qInstallMessageHandler(HoldStartupMessage);
  QApplication application(argc, argv);
  ReleaseStartupMessages();
  // Only the destruction of the main window ends the loop, not the closing of
  // the error box or of any other window.
  application.setQuitOnLastWindowClosed(false);

  LocalCodePage = kCodePageGbk;

  std::unique_ptr<MainWindow> created;
  try {
    created = hooks.createWindow();
  } catch (const std::bad_alloc&) {
    created.reset();
  }
  if (!created) {
    hooks.reportFailure(QStringLiteral("The main window cannot be created."));
    return kFailureExitCode;
  }

  // From here Qt owns the window: closing it destroys it, and its
  // destruction ends the message loop.
  QPointer<MainWindow> window = created.release();
  window->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(window, &QObject::destroyed, &application, [] { QCoreApplication::exit(0); });
  window->show();
  window->activateWindow();
  window->raise();

  // The window may already be gone, and then the loop would wait for ever.
  const int code = window.isNull() ? 0 : application.exec();
  delete window.data();
  return code;
}

}  // namespace zembrolt
