// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/WindowActivation.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <charconv>
#include <utility>

#ifdef Q905_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#endif

namespace q905 {

namespace {

#ifdef Q905_HAVE_XCB
xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

// Ends the launcher's busy cursor for this start ("remove: ID=…"), in 20-byte pieces.
void endStartupSequence(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window,
                        const QByteArray& startupId) {
    const xcb_atom_t begin = atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = atom(connection, "_NET_STARTUP_INFO");
    if (begin == XCB_ATOM_NONE || more == XCB_ATOM_NONE)
        return;
    // Tokens are checked to hold no blank, quote or backslash, so the id needs no quoting.
    const QByteArray message = "remove: ID=" + startupId + '\0';
    for (qsizetype at = 0; at < message.size(); at += 20) {
        char piece[20] = {};
        std::memcpy(piece, message.constData() + at, std::min<qsizetype>(20, message.size() - at));
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = window;
        event.type = at == 0 ? begin : more;
        std::memcpy(event.data.data8, piece, sizeof piece);
        xcb_send_event(connection, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char*>(&event));
    }
}

// Asks the window manager for the focus with the launcher's time rather than our last input's.
void activateOnX11(QWidget& window, const QByteArray& startupId) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t* connection = x11->connection();
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;
    const auto id = static_cast<xcb_window_t>(window.winId());

    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atom(connection, "_NET_STARTUP_ID"),
                        atom(connection, "UTF8_STRING"), 8,
                        static_cast<std::uint32_t>(startupId.size()), startupId.constData());
    if (const auto time = startupIdTime(startupId)) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = id;
        event.type = atom(connection, "_NET_ACTIVE_WINDOW");
        event.data.data32[0] = 1; // asked for by the application
        event.data.data32[1] = *time;
        xcb_send_event(connection, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
    }
    endStartupSequence(connection, root, id, startupId);
    xcb_flush(connection);
}
#endif

// Waits for the window's first exposure, then asks for the focus with the token, once.
class ActivateWhenExposed final : public QObject {
  public:
    ActivateWhenExposed(QWidget& window, QByteArray token)
        : QObject(window.windowHandle()), m_window(&window), m_token(std::move(token)) {
        window.windowHandle()->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            qputenv("XDG_ACTIVATION_TOKEN", m_token);
            m_window->activateWindow();
            deleteLater();
        }
        return false;
    }

  private:
    QWidget* m_window;
    QByteArray m_token;
};

} // namespace

std::optional<std::uint32_t> startupIdTime(const QByteArray& startupId) {
    const qsizetype at = startupId.lastIndexOf("_TIME");
    if (at < 0)
        return std::nullopt;
    const char* first = startupId.constData() + at + 5;
    const char* last = startupId.constData() + startupId.size();
    std::uint32_t time = 0;
    const auto [end, error] = std::from_chars(first, last, time);
    if (error != std::errc{} || end != last || first == last)
        return std::nullopt;
    return time;
}

void showWithToken(QWidget& window, const ActivationToken& token,
                   const std::function<void()>& show) {
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")) && !token.xdgActivationToken.isEmpty()) {
        // Qt's Wayland plugin hands this to the compositor at the next activation and then
        // forgets it. A compositor ignores activation of a surface not yet on screen: a window
        // that was hidden asks again once it is.
        const bool onScreen =
            window.isVisible() && window.windowHandle() && window.windowHandle()->isExposed();
        if (onScreen)
            qputenv("XDG_ACTIVATION_TOKEN", token.xdgActivationToken);
        show();
        if (!onScreen && window.windowHandle())
            new ActivateWhenExposed(window, token.xdgActivationToken);
        return;
    }
    show();
#ifdef Q905_HAVE_XCB
    if (platform == QLatin1String("xcb") && !token.startupId.isEmpty())
        activateOnX11(window, token.startupId);
#else
    Q_UNUSED(window);
#endif
}

} // namespace q905
