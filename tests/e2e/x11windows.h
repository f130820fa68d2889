#pragma once

#include <optional>
#include <string>
#include <utility>

// Just enough of the X display to find a program's window by its caption and
// ask it to close, as a window manager's close box would.
class X11Display {
public:
    X11Display();
    ~X11Display();
    X11Display(const X11Display&) = delete;
    X11Display& operator=(const X11Display&) = delete;

    bool isOpen() const { return m_display != nullptr; }
    // A mapped window whose title is exactly caption.
    std::optional<unsigned long> findWindow(const std::string& caption) const;
    std::string title(unsigned long window) const;
    // The window's top left corner on the screen.
    std::pair<int, int> origin(unsigned long window) const;
    // Sends WM_DELETE_WINDOW.
    void requestClose(unsigned long window) const;

private:
    struct _XDisplay* m_display;
};
