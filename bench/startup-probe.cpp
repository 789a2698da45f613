// Start-up of two programs on the X display in $DISPLAY: the wall time from launch until a
// window of the given title is mapped and painted, and, once it is, the peak memory (VmHWM)
// and the processor time spent so far.
// Runs alternate between the two programs; the medians and their ratios are printed.
//
// usage: startup-probe <runs> <program> <window title> <floor program> <floor window title>
//
// "Painted" is seen by polling: the window is looked for every few hundred microseconds and,
// once viewable, read back; it counts as painted when most of its pixels are no longer the
// black of the server's background. Polling adds its latency equally to both programs.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto pollInterval = std::chrono::microseconds(250);
constexpr auto giveUpAfter = std::chrono::seconds(20);

struct Measurement {
    double milliseconds;
    double peakMebibytes;
    double processorMilliseconds;
};

std::string windowName(Display *display, Window window) {
    static const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    for (const Atom property : {netWmName, static_cast<Atom>(XA_WM_NAME)}) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(display, window, property, 0, 1024, False, AnyPropertyType, &type,
                               &format, &count, &remaining, &data) == Success &&
            data) {
            std::string name(reinterpret_cast<char *>(data), count);
            XFree(data);
            if (format == 8)
                return name;
        }
    }
    return {};
}

// A viewable top-level window of that title. Without a window manager, top-level windows are
// the root's own children.
std::optional<Window> findWindow(Display *display, const std::string &title) {
    Window root = 0;
    Window parent = 0;
    Window *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return std::nullopt;
    std::optional<Window> found;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable && windowName(display, children[i]) == title)
            found = children[i];
    }
    if (children)
        XFree(children);
    return found;
}

bool isPainted(Display *display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.width < 1)
        return false;
    XImage *image =
        XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image)
        return false;
    long coloured = 0;
    for (int y = 0; y < attributes.height; ++y)
        for (int x = 0; x < attributes.width; ++x)
            coloured += (XGetPixel(image, x, y) & 0xffffff) != 0;
    XDestroyImage(image);
    return coloured * 2 > static_cast<long>(attributes.width) * attributes.height;
}

double peakMebibytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    return 0;
}

// Time on a processor so far, all threads together: unlike the wall time, other work on the
// machine hardly changes it.
double processorMilliseconds(pid_t pid) {
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    double nanoseconds = 0;
    std::error_code error;
    for (const auto &task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double onProcessor = 0;
        if (schedstat >> onProcessor)
            nanoseconds += onProcessor;
    }
    return nanoseconds / 1e6;
}

// X errors from windows that vanish between listing and asking are expected; ignore them.
int ignoreXError(Display *, XErrorEvent *) { return 0; }

std::optional<Measurement> measure(Display *display, const std::string &program,
                                   const std::string &title) {
    char *const argv[] = {const_cast<char *>(program.c_str()), nullptr};
    const auto start = Clock::now();
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", program.c_str());
        return std::nullopt;
    }
    std::optional<Measurement> result;
    while (Clock::now() - start < giveUpAfter) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "%s ended before showing \"%s\"\n", program.c_str(),
                         title.c_str());
            return std::nullopt;
        }
        if (const auto window = findWindow(display, title); window && isPainted(display, *window)) {
            const std::chrono::duration<double, std::milli> elapsed = Clock::now() - start;
            result = Measurement{elapsed.count(), peakMebibytes(pid), processorMilliseconds(pid)};
            break;
        }
        std::this_thread::sleep_for(pollInterval);
    }
    if (!result)
        std::fprintf(stderr, "%s did not show \"%s\" in time\n", program.c_str(), title.c_str());
    // The editor would wait in its dialog for ever; both are ended the same way.
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return result;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void printRatio(const char *what, double ours, double floor, const char *unit) {
    const double ratio = ours / floor;
    std::printf("%s: %.1f %s vs floor %.1f %s = %.2fx (goal <= 1.1x) %s\n", what, ours, unit, floor,
                unit, ratio, ratio <= 1.1 ? "OK" : "MISSED");
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc != 6) {
        std::fprintf(stderr,
                     "usage: %s <runs> <program> <window title> <floor program> "
                     "<floor window title>\n",
                     argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 1;
    }
    XSetErrorHandler(ignoreXError);

    std::vector<double> ourTimes, floorTimes, ourPeaks, floorPeaks, ourProcessor, floorProcessor;
    // One unmeasured run of each first, so neither pays alone for cold caches.
    for (int run = -1; run < runs; ++run) {
        // Each goes first every other run, so neither gains from the other's leftovers.
        std::optional<Measurement> ours, floor;
        if (run % 2 == 0) {
            ours = measure(display, argv[2], argv[3]);
            floor = measure(display, argv[4], argv[5]);
        } else {
            floor = measure(display, argv[4], argv[5]);
            ours = measure(display, argv[2], argv[3]);
        }
        if (!ours || !floor)
            return 1;
        if (run < 0)
            continue;
        ourTimes.push_back(ours->milliseconds);
        ourPeaks.push_back(ours->peakMebibytes);
        floorTimes.push_back(floor->milliseconds);
        floorPeaks.push_back(floor->peakMebibytes);
        ourProcessor.push_back(ours->processorMilliseconds);
        floorProcessor.push_back(floor->processorMilliseconds);
    }
    XCloseDisplay(display);

    std::printf("start-up, median of %d alternated runs, launch to window shown and painted:\n",
                runs);
    printRatio("start-up time", median(ourTimes), median(floorTimes), "ms");
    printRatio("start-up peak memory", median(ourPeaks), median(floorPeaks), "MiB");
    // Beside the wall time: other work on the machine hardly sways it.
    printRatio("start-up processor time", median(ourProcessor), median(floorProcessor), "ms");
    return 0;
}
