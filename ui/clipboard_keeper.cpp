#include "ui/clipboard_keeper.h"

#include <QClipboard>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace quibel {
namespace {

// True when some client owns the CLIPBOARD_MANAGER selection.
bool ClipboardManagerRuns() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr) return false;
  xcb_connection_t* connection = x11->connection();
  static const char kName[] = "CLIPBOARD_MANAGER";
  xcb_intern_atom_reply_t* atom =
      xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, std::strlen(kName), kName), nullptr);
  if (atom == nullptr) return false;
  const xcb_atom_t manager = atom->atom;
  std::free(atom);
  if (manager == XCB_ATOM_NONE) return false;
  xcb_get_selection_owner_reply_t* owner =
      xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, manager), nullptr);
  const bool runs = owner != nullptr && owner->owner != XCB_NONE;
  std::free(owner);
  return runs;
}

}  // namespace

bool MustServeClipboard() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
  if (!QGuiApplication::clipboard()->ownsClipboard()) return false;
  return !ClipboardManagerRuns();
}

void ServeClipboardUntilTaken() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  QObject::connect(clipboard, &QClipboard::changed, qGuiApp, [clipboard](QClipboard::Mode mode) {
    if (mode == QClipboard::Clipboard && !clipboard->ownsClipboard()) QCoreApplication::quit();
  });
  QGuiApplication::setQuitOnLastWindowClosed(false);
  QCoreApplication::exec();
}

}  // namespace quibel
