#include "win32_about_window.h"

#include <shellapi.h>

#include "about_texts.h"

namespace {

// The client area and the static controls' background.
constexpr COLORREF AboutBackground = RGB(177, 232, 179);
constexpr COLORREF headingColour = RGB(0, 0, 0);
constexpr COLORREF textColour = RGB(0, 51, 255);

constexpr int windowWidth = 400;
constexpr int windowHeight = 300;
constexpr int logoX = 142;
constexpr int logoY = 55;

// The three-line text and the button share this id; only the button sends
// WM_COMMAND with it (the static has no SS_NOTIFY).
constexpr int textControlId = 10;
constexpr int headingControlId = 30;
constexpr int buttonControlId = 10;
constexpr int logoResourceId = 101;

// One About window per process.
HWND mainWindow = nullptr;
HWND headingControl = nullptr;
HWND textControl = nullptr;
HWND buttonControl = nullptr;
HBITMAP logo = nullptr;

HFONT createArial(int height, int width, int weight, BOOL underline) {
    return CreateFontA(height, width, 0, 0, weight, FALSE, underline, FALSE, DEFAULT_CHARSET,
                       OUT_OUTLINE_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, VARIABLE_PITCH, "Arial");
}

HWND createStatic(const char* text, int x, int y, int width, int height, int id, HFONT font) {
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mainWindow, GWLP_HINSTANCE));
    HWND control =
        CreateWindowExA(0, "static", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, width, height, mainWindow,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SetWindowTextA(control, text);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return control;
}

void paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    SetBkColor(dc, AboutBackground);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);

    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, logo);
    BITMAP bitmap = {};
    GetObjectA(logo, sizeof bitmap, &bitmap);
    BitBlt(dc, logoX, logoY, bitmap.bmWidth, bitmap.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    EndPaint(window, &ps);
}

}  // namespace

LRESULT CALLBACK aboutWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Made on the first message and kept for the life of the process.
    static HBRUSH background = CreateSolidBrush(AboutBackground);

    switch (message) {
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, reinterpret_cast<HWND>(lParam) == headingControl ? headingColour : textColour);
        SetBkColor(dc, AboutBackground);
        return reinterpret_cast<LRESULT>(background);
    }
    case WM_COMMAND:
        // The button's click: control id 10 with notification code 0.
        if (wParam == static_cast<WPARAM>(buttonControlId)) {
            ShellExecuteA(window, "open", aboutWebsiteAddress, nullptr, nullptr, SW_SHOWNORMAL);
        }
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        DeleteObject(logo);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

AboutWindow::AboutWindow(HINSTANCE instance, int showCommand)
    : title("About"),
      windowClassName("DreamloomWindowClass"),
      buttonText("Visit website"),
      aboutText(aboutTextLines),
      productName("Zephyrine Screensaver") {
    auto icon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA("user32.dll"), MAKEINTRESOURCEA(104), IMAGE_ICON, 16, 16, LR_SHARED));

    WNDCLASSA wc = {};
    wc.style = 0;
    wc.lpfnWndProc = aboutWindowProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = windowClassName;
    if (!RegisterClassA(&wc)) {
        MessageBoxA(nullptr, "Window Registration Failed!", "Error!", MB_ICONWARNING);
        // Without the class there is no window to wait for.
        return;
    }

    // Physical pixels: the window is 400 x 300 and centred on the primary
    // screen's real resolution whatever the display scale.
    SetProcessDPIAware();
    HDC screen = GetDC(nullptr);
    const int left = static_cast<int>((GetDeviceCaps(screen, HORZRES) - windowWidth) * 0.5);
    const int top = static_cast<int>((GetDeviceCaps(screen, VERTRES) - windowHeight) * 0.5);
    ReleaseDC(nullptr, screen);

    mainWindow = CreateWindowExA(0, windowClassName, title, WS_SYSMENU, left, top, windowWidth, windowHeight,
                                 nullptr, nullptr, instance, nullptr);
    if (mainWindow == nullptr) {
        MessageBoxA(nullptr, "Window Creation Failed!", "Error!", MB_ICONWARNING);
        return;
    }

    logo = static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(logoResourceId), IMAGE_BITMAP, 0, 0, LR_SHARED));

    HFONT textFont = createArial(16, 6, FW_NORMAL, FALSE);
    HFONT headingFont = createArial(18, 8, FW_BOLD, TRUE);

    textControl = createStatic(aboutText, 20, 150, 380, 80, textControlId, textFont);
    headingControl = createStatic(productName, 92, 20, 280, 20, headingControlId, headingFont);

    buttonControl =
        CreateWindowExA(0, "BUTTON", buttonText, WS_CHILD | WS_VISIBLE, 150, 210, 100, 32, mainWindow,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(buttonControlId)), instance, nullptr);
    SendMessageA(buttonControl, WM_SETFONT, reinterpret_cast<WPARAM>(textFont), TRUE);

    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
