#include "XWindows.h"

#include <QByteArray>
#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace {
// More than a test desktop ever holds of a property.
constexpr uint32_t PropertyWords = 1024;
// The source of a request to the window manager: a pager, acting for the user.
constexpr uint32_t UserSource = 2;

xcb_connection_t *connection()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_window_t rootWindow()
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root;
}

xcb_atom_t atom(const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(connection(), xcb_intern_atom(connection(), 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

// A property's bytes, empty when the window has none (or is gone).
QByteArray property(WId window, const char *name, xcb_atom_t type)
{
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection(), xcb_get_property(connection(), 0, xcb_window_t(window), atom(name), type, 0, PropertyWords),
        nullptr);
    QByteArray bytes;
    if (reply)
        bytes = QByteArray(static_cast<const char *>(xcb_get_property_value(reply)),
                           xcb_get_property_value_length(reply));
    std::free(reply);
    return bytes;
}

QList<uint32_t> words(const QByteArray &bytes)
{
    QList<uint32_t> result(bytes.size() / qsizetype(sizeof(uint32_t)));
    std::memcpy(result.data(), bytes.constData(), size_t(result.size()) * sizeof(uint32_t));
    return result;
}
}

WId inputFocus()
{
    xcb_get_input_focus_reply_t *reply =
        xcb_get_input_focus_reply(connection(), xcb_get_input_focus(connection()), nullptr);
    const WId focus = reply ? reply->focus : 0;
    std::free(reply);
    return focus;
}

qint64 windowProcess(WId window)
{
    const QList<uint32_t> pid = words(property(window, "_NET_WM_PID", XCB_ATOM_CARDINAL));
    return pid.isEmpty() ? 0 : pid.first();
}

QString windowTitle(WId window)
{
    return QString::fromUtf8(property(window, "_NET_WM_NAME", atom("UTF8_STRING")));
}

QList<WId> windowsOf(qint64 process)
{
    QList<WId> found;
    for (const uint32_t window : words(property(rootWindow(), "_NET_CLIENT_LIST", XCB_ATOM_WINDOW)))
        if (windowProcess(window) == process)
            found << window;
    return found;
}

void closeWindow(WId window)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = xcb_window_t(window);
    event.type = atom("_NET_CLOSE_WINDOW");
    event.data.data32[0] = XCB_CURRENT_TIME;
    event.data.data32[1] = UserSource;
    xcb_send_event(connection(), 0, rootWindow(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&event));
    xcb_flush(connection());
}
