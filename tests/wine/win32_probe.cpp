// A small console helper that runs beside the screensaver in the same Wine
// session and reports what a user would see of its Win32 windows: message
// boxes with their caption and text, and top-level windows. It can also
// press a box's OK button and send a window a close request.
//
//   win32_probe boxes            one line per visible message box:
//                                <hwnd> TAB <caption> TAB <text>
//   win32_probe windows          one line per visible top-level window:
//                                <hwnd> TAB <class> TAB <title>
//   win32_probe all              every top-level window, hidden ones too:
//                                <hwnd> TAB <class> TAB <title>
//   win32_probe client <title>   the client area of that window on the
//                                screen: <x> <y> <width> <height>
//   win32_probe rect <title>     that window's outer rectangle:
//                                <x> <y> <width> <height>
//   win32_probe children <title> one line per child window:
//                                <class> TAB <id> TAB <style hex> TAB
//                                <x> <y> <width> <height> TAB <text>
//                                (position in the parent's client area)
//   win32_probe ok <hwnd>        presses the box's OK button
//   win32_probe close <title>    posts WM_CLOSE to the window of that title
//   win32_probe close-all <title>
//                                posts WM_CLOSE to every top-level window of
//                                that title; prints how many
//   win32_probe race <exe> <args>...
//                                starts one copy of exe per <args> (one
//                                argument each, "-" for none), all suspended,
//                                then lets them all go at the same moment;
//                                prints "started <n>", then
//                                "ended <i> exit=<code>" as copy i ends and
//                                "all ended" at the end
#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string windowText(HWND window) {
    char buffer[4096] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

std::string className(HWND window) {
    char buffer[256] = {};
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

// Escapes the characters that would break the one-line format.
std::string oneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            out += c;
        }
    }
    return out;
}

BOOL CALLBACK collectStaticText(HWND child, LPARAM param) {
    auto* text = reinterpret_cast<std::string*>(param);
    // The message is the dialog's static control that holds text; the icon
    // is a static without any.
    if (_stricmp(className(child).c_str(), "Static") == 0) {
        const std::string t = windowText(child);
        if (!t.empty() && text->empty()) {
            *text = t;
        }
    }
    return TRUE;
}

BOOL CALLBACK listBox(HWND window, LPARAM) {
    if (!IsWindowVisible(window) || className(window) != "#32770") {
        return TRUE;
    }
    std::string text;
    EnumChildWindows(window, collectStaticText, reinterpret_cast<LPARAM>(&text));
    std::printf("%lu\t%s\t%s\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)),
                oneLine(windowText(window)).c_str(), oneLine(text).c_str());
    return TRUE;
}

BOOL CALLBACK listWindow(HWND window, LPARAM all) {
    if (!all && !IsWindowVisible(window)) {
        return TRUE;
    }
    std::printf("%lu\t%s\t%s\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)),
                oneLine(className(window)).c_str(), oneLine(windowText(window)).c_str());
    return TRUE;
}

BOOL CALLBACK listChild(HWND child, LPARAM parent) {
    if (GetParent(child) != reinterpret_cast<HWND>(parent)) {
        return TRUE;
    }
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, reinterpret_cast<HWND>(parent), reinterpret_cast<POINT*>(&rect), 2);
    std::printf("%s\t%d\t%08lX\t%ld %ld %ld %ld\t%s\n", className(child).c_str(), GetDlgCtrlID(child),
                static_cast<unsigned long>(GetWindowLongA(child, GWL_STYLE)), rect.left, rect.top,
                rect.right - rect.left, rect.bottom - rect.top, oneLine(windowText(child)).c_str());
    return TRUE;
}

struct TitleSearch {
    const char* title;
    int count;
};

BOOL CALLBACK closeTitled(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TitleSearch*>(param);
    if (windowText(window) == search->title) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        ++search->count;
    }
    return TRUE;
}

// Copies of one program started together: created suspended, so that the
// slow part of a start is behind them, then resumed one right after the
// other.
int race(const char* exe, char** arguments, int count) {
    std::vector<PROCESS_INFORMATION> copies;
    for (int i = 0; i < count; ++i) {
        std::string commandLine = std::string("\"") + exe + "\"";
        if (std::strcmp(arguments[i], "-") != 0) {
            commandLine += std::string(" ") + arguments[i];
        }
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                            nullptr, &startup, &process)) {
            std::printf("could not start copy %d\n", i);
            for (PROCESS_INFORMATION& started : copies) {
                TerminateProcess(started.hProcess, 1);
            }
            return 1;
        }
        copies.push_back(process);
    }
    for (PROCESS_INFORMATION& process : copies) {
        ResumeThread(process.hThread);
    }
    std::printf("started %d\n", count);
    std::fflush(stdout);

    std::vector<int> left;
    for (int i = 0; i < count; ++i) {
        left.push_back(i);
    }
    while (!left.empty()) {
        std::vector<HANDLE> handles;
        for (int i : left) {
            handles.push_back(copies[static_cast<std::size_t>(i)].hProcess);
        }
        const DWORD result =
            WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, INFINITE);
        if (result >= WAIT_OBJECT_0 + handles.size()) {
            std::printf("wait failed\n");
            return 1;
        }
        const std::size_t which = result - WAIT_OBJECT_0;
        const int i = left[which];
        DWORD code = 0;
        GetExitCodeProcess(handles[which], &code);
        std::printf("ended %d exit=%lu\n", i, static_cast<unsigned long>(code));
        std::fflush(stdout);
        left.erase(left.begin() + static_cast<std::ptrdiff_t>(which));
    }
    std::printf("all ended\n");
    std::fflush(stdout);
    return 0;
}

HWND handleArgument(const char* text) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoul(text, nullptr, 10)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "boxes") == 0) {
        EnumWindows(listBox, 0);
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "windows") == 0) {
        EnumWindows(listWindow, 0);
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "all") == 0) {
        EnumWindows(listWindow, 1);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "client") == 0) {
        HWND window = FindWindowA(nullptr, argv[2]);
        if (window == nullptr) {
            return 1;
        }
        RECT client;
        GetClientRect(window, &client);
        POINT origin = {0, 0};
        ClientToScreen(window, &origin);
        std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "rect") == 0) {
        HWND window = FindWindowA(nullptr, argv[2]);
        if (window == nullptr) {
            return 1;
        }
        RECT rect;
        GetWindowRect(window, &rect);
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "children") == 0) {
        HWND window = FindWindowA(nullptr, argv[2]);
        if (window == nullptr) {
            return 1;
        }
        EnumChildWindows(window, listChild, reinterpret_cast<LPARAM>(window));
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "ok") == 0) {
        HWND box = handleArgument(argv[2]);
        HWND button = GetDlgItem(box, IDOK);
        if (!IsWindow(box)) {
            return 1;
        }
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "close") == 0) {
        HWND window = FindWindowA(nullptr, argv[2]);
        if (window == nullptr) {
            return 1;
        }
        PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "close-all") == 0) {
        TitleSearch search = {argv[2], 0};
        EnumWindows(closeTitled, reinterpret_cast<LPARAM>(&search));
        std::printf("%d\n", search.count);
        return 0;
    }
    if (argc >= 4 && std::strcmp(argv[1], "race") == 0 && argc - 3 <= MAXIMUM_WAIT_OBJECTS) {
        return race(argv[2], argv + 3, argc - 3);
    }
    std::fprintf(stderr,
                 "usage: win32_probe boxes | windows | all | client <title> | rect <title> | children "
                 "<title> | ok <hwnd> |"
                 " close <title> | close-all <title> | race <exe> <args>...\n");
    return 2;
}
