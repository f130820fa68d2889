#include "x11windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

namespace {

// Windows come and go while the tree is walked; a window gone between two
// requests is no reason to stop the test.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

} // namespace

X11Display::X11Display() : m_display(XOpenDisplay(nullptr)) { XSetErrorHandler(ignoreErrors); }

X11Display::~X11Display()
{
    if (m_display)
        XCloseDisplay(m_display);
}

std::string X11Display::title(unsigned long window) const
{
    XTextProperty property{};
    std::string result;
    if (XGetWMName(m_display, window, &property) && property.value) {
        result.assign(reinterpret_cast<const char*>(property.value), property.nitems);
        XFree(property.value);
    }
    return result;
}

std::optional<unsigned long> X11Display::findWindow(const std::string& caption) const
{
    if (!m_display)
        return std::nullopt;
    std::vector<Window> pending{DefaultRootWindow(m_display)};
    while (!pending.empty()) {
        const Window window = pending.back();
        pending.pop_back();
        XWindowAttributes attributes{};
        if (title(window) == caption && XGetWindowAttributes(m_display, window, &attributes) &&
            attributes.map_state == IsViewable)
            return window;
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(m_display, window, &root, &parent, &children, &count)) {
            pending.insert(pending.end(), children, children + count);
            if (children)
                XFree(children);
        }
    }
    return std::nullopt;
}

std::pair<int, int> X11Display::origin(unsigned long window) const
{
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), 0, 0, &x, &y, &child);
    return {x, y};
}

void X11Display::requestClose(unsigned long window) const
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_display, window, False, NoEventMask, &event);
    XFlush(m_display);
}
