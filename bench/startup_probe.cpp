// One start of the desktop program on the X display, seen from outside:
// prints "MAPPED_MS PAINTED_MS PSS_KB PROCESSES": when its window was mapped,
// when its first browser pane showed a page, and the PSS summed over the
// program's process tree once it has settled. Then ends the program.
// Usage: startup_probe PROGRAM CAPTION PANE_X PANE_Y PANE_W PANE_H (pixels from the window's corner)

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

long msSince(Clock::time_point start)
{
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

std::set<pid_t> processTree(pid_t root)
{
    std::set<pid_t> tree{root};
    for (bool grew = true; grew;) {
        grew = false;
        for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
            const pid_t pid = static_cast<pid_t>(std::atol(entry.path().filename().c_str()));
            std::ifstream stat(entry.path() / "stat");
            std::string line;
            if (pid <= 1 || !std::getline(stat, line))
                continue;
            std::istringstream rest(line.substr(line.rfind(')') + 2));
            char state;
            pid_t parent;
            rest >> state >> parent;
            if (state != 'Z' && tree.count(parent))
                grew = tree.insert(pid).second || grew;
        }
    }
    return tree;
}

long pssKb(const std::set<pid_t>& tree)
{
    long total = 0;
    for (pid_t pid : tree) {
        std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
        for (std::string line; std::getline(rollup, line);)
            if (line.rfind("Pss:", 0) == 0)
                total += std::atol(line.c_str() + 4);
    }
    return total;
}

Window findWindow(Display* display, Window parent, const std::string& caption)
{
    Window root, up, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        char* name = nullptr;
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable &&
            XFetchName(display, children[i], &name) && name && caption == name)
            found = children[i];
        if (name)
            XFree(name);
    }
    XFree(children);
    return found;
}

// True when the area shows more than a flat colour.
bool painted(Display* display, Window window, int x, int y, int width, int height)
{
    XImage* image = XGetImage(display, window, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    if (!image)
        return false;
    std::set<unsigned long> colours;
    for (int row = 0; row < height && colours.size() < 3; row += 2)
        for (int column = 0; column < width && colours.size() < 3; column += 2)
            colours.insert(XGetPixel(image, column, row));
    XDestroyImage(image);
    return colours.size() >= 3;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 7)
        return 2;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 2;
    const int pane[] = {std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6])};
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl(argv[1], argv[1], static_cast<char*>(nullptr));
        _exit(127);
    }
    long mapped = -1, shown = -1;
    Window window = 0;
    while (msSince(start) < 30000 && shown < 0) {
        if (!window && (window = findWindow(display, DefaultRootWindow(display), argv[2])))
            mapped = msSince(start);
        if (window && painted(display, window, pane[0], pane[1], pane[2], pane[3]))
            shown = msSince(start);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::this_thread::sleep_for(std::chrono::seconds(3)); // the other panes' pages load meanwhile
    const std::set<pid_t> tree = processTree(child);
    std::printf("%ld %ld %ld %zu\n", mapped, shown, pssKb(tree), tree.size());
    for (pid_t pid : tree)
        kill(pid, SIGKILL);
    waitpid(child, nullptr, 0);
    // The next start on this display must not find this window.
    for (const Clock::time_point end = Clock::now() + std::chrono::seconds(5);
         findWindow(display, DefaultRootWindow(display), argv[2]) && Clock::now() < end;)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    XCloseDisplay(display);
    return mapped < 0 || shown < 0;
}
