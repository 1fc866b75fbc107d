#include "platform/qt/X11Windows.h"

#include <QAbstractEventDispatcher>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace kal::qt {
namespace {

xcb_connection_t* x11Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;
template <typename Reply> Owned<Reply> owned(Reply* reply)
{
    return Owned<Reply>(reply, &std::free);
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    auto reply = owned(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_window_t rootOf(xcb_connection_t* c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

// The name the running window manager gives itself (the EWMH check window's _NET_WM_NAME).
std::string windowManagerName(xcb_connection_t* c)
{
    const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
    auto checkReply =
        owned(xcb_get_property_reply(c, xcb_get_property(c, 0, rootOf(c), check, XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (!checkReply || xcb_get_property_value_length(checkReply.get()) != sizeof(xcb_window_t))
        return {};
    const xcb_window_t wm = *static_cast<xcb_window_t*>(xcb_get_property_value(checkReply.get()));
    auto name = owned(xcb_get_property_reply(
        c, xcb_get_property(c, 0, wm, atom(c, "_NET_WM_NAME"), atom(c, "UTF8_STRING"), 0, 64), nullptr));
    if (!name)
        return {};
    const auto* text = static_cast<const char*>(xcb_get_property_value(name.get()));
    return std::string(text, static_cast<std::size_t>(xcb_get_property_value_length(name.get())));
}

void setWindowTypes(xcb_connection_t* c, QWidget& window, std::initializer_list<const char*> names)
{
    std::vector<xcb_atom_t> types;
    for (const char* name : names)
        types.push_back(atom(c, name));
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()),
                        atom(c, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, static_cast<std::uint32_t>(types.size()),
                        types.data());
}

// Qt writes the window type when the window is made or its flags change; this runs after that,
// when the window is about to be mapped, which is when the manager reads it.
class WindowTypeOnShow : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType())
            typeWindow(*static_cast<QWidget*>(watched));
        return false;
    }

private:
    static void typeWindow(QWidget& window)
    {
        xcb_connection_t* c = x11Connection();
        if (!c || !window.isWindow() || window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint))
            return;
        if (window.windowType() == Qt::Tool)
            setWindowTypes(c, window, {"_NET_WM_WINDOW_TYPE_TOOLBAR", "_NET_WM_WINDOW_TYPE_UTILITY"});
        else if (window.windowType() == Qt::Dialog && windowManagerName(c) == "Openbox")
            setWindowTypes(c, window, {"_NET_WM_WINDOW_TYPE_TOOLBAR", "_NET_WM_WINDOW_TYPE_DIALOG"});
    }
};

// The top-level window (the manager's frame, where there is one) that holds `window`.
xcb_window_t frameOf(xcb_connection_t* c, xcb_window_t window, xcb_window_t root)
{
    for (;;) {
        auto tree = owned(xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr));
        if (!tree || tree->parent == root || tree->parent == XCB_WINDOW_NONE)
            return window;
        window = tree->parent;
    }
}

} // namespace

void typeWindowsOnShow(QObject* application)
{
    application->installEventFilter(new WindowTypeOnShow(application));
}

TitleBarWatch::TitleBarWatch(QWidget* window)
    : QObject(window), window_(window), clicks_(QGuiApplication::styleHints()->mouseDoubleClickInterval(),
                                                QGuiApplication::styleHints()->mouseDoubleClickDistance())
{
    // Long enough for the window manager's answer to the release to arrive.
    settling_.setSingleShot(true);
    settling_.setInterval(200);
    connect(&settling_, &QTimer::timeout, this, &TitleBarWatch::doubleClicked);
    connection_ = x11Connection();
    const xcb_query_extension_reply_t* input =
        connection_ ? xcb_get_extension_data(connection_, &xcb_input_id) : nullptr;
    if (!input || !input->present) {
        connection_ = nullptr;
        return;
    }
    inputOpcode_ = input->major_opcode;
    // Raw presses reach every client that asks for them on the root window, whatever window
    // they fall on and whoever grabs the pointer.
    struct {
        xcb_input_event_mask_t head;
        std::uint32_t mask;
    } rawButtons{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
                 XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE};
    xcb_input_xi_select_events(connection_, rootOf(connection_), 1, &rawButtons.head);
    xcb_flush(connection_);
    QAbstractEventDispatcher::instance()->installNativeEventFilter(this);
    window_->installEventFilter(this);
}

TitleBarWatch::~TitleBarWatch()
{
    if (connection_)
        QAbstractEventDispatcher::instance()->removeNativeEventFilter(this);
}

bool TitleBarWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_GE_GENERIC)
        return false;
    auto* generic = static_cast<xcb_ge_generic_event_t*>(message);
    if (generic->extension != inputOpcode_)
        return false;
    auto* button = static_cast<xcb_input_raw_button_press_event_t*>(message);
    if (button->detail != 1 || (button->flags & XCB_INPUT_POINTER_EVENT_FLAGS_POINTER_EMULATED))
        return false;
    if (generic->event_type == XCB_INPUT_RAW_BUTTON_PRESS) {
        pressed(button->time);
    } else if (generic->event_type == XCB_INPUT_RAW_BUTTON_RELEASE && awaitingRelease_) {
        awaitingRelease_ = false;
        settling_.start();
    }
    // Qt has its own use for the events it asked for; these it did not ask for and passes by.
    return false;
}

void TitleBarWatch::pressed(std::uint32_t timeMs)
{
    if (!window_->isVisible() || window_->isMinimized())
        return;
    const xcb_window_t root = rootOf(connection_);
    auto pointer = owned(xcb_query_pointer_reply(connection_, xcb_query_pointer(connection_, root), nullptr));
    if (!pointer)
        return;
    const auto client = static_cast<xcb_window_t>(window_->winId());
    const xcb_window_t frame = frameOf(connection_, client, root);
    PixelRect bar;
    // Over another window the press is not on this title bar, whatever the rectangles say.
    if (pointer->child == frame && frame != client) {
        auto frameBox = owned(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, frame), nullptr));
        auto clientAt = owned(xcb_translate_coordinates_reply(
            connection_, xcb_translate_coordinates(connection_, client, root, 0, 0), nullptr));
        if (frameBox && clientAt)
            bar = PixelRect{frameBox->x, frameBox->y, frameBox->x + frameBox->width + 2 * frameBox->border_width - 1,
                            clientAt->dst_y - 1};
    }
    if (clicks_.press(PixelPoint{pointer->root_x, pointer->root_y}, timeMs, bar))
        awaitingRelease_ = true;
}

bool TitleBarWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != window_ || event->type() != QEvent::WindowStateChange || !pending())
        return false;
    awaitingRelease_ = false;
    settling_.stop();
    if (window_->isMaximized()) {
        // Restored first (which reports a change of state of its own), and the double click
        // reported once the window manager has given the window its size back.
        window_->setWindowState(window_->windowState() & ~Qt::WindowMaximized);
        settling_.start();
    }
    return false;
}

} // namespace kal::qt
