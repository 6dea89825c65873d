// The floor of the start-up benchmarks: the least a bar-like program does
// before it can be seen. It registers a class, creates one tool window,
// and, given a file on its command line (one "file,index" a line), reads
// TAV.INI's "program section" once, as any bar must to learn its slots, and
// extracts the icons listed in that file; shows the window, adds one notification icon,
// broadcasts "TAV_MESSAGE" code 1 and then waits to be closed.
// "/buttons=N" first on the command line adds what the bar's own design adds:
// N slot buttons and five control buttons, owner-drawn, each face one copy
// from a ready cell, in a window of the bar's size.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static HDC gCell;

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_DRAWITEM) {
        const auto *d = reinterpret_cast<const DRAWITEMSTRUCT *>(l);
        BitBlt(d->hDC, 0, 0, d->rcItem.right, d->rcItem.bottom, gCell, 0, 0, SRCCOPY);
        return TRUE;
    }
    if (m == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(h, m, w, l);
}

static void ReadSection()
{
    static char text[1 << 16];
    GetPrivateProfileSectionA("program section", text, sizeof text, "TAV.INI");
}

static void ExtractListed(HINSTANCE instance, const char *listFile)
{
    FILE *f = std::fopen(listFile, "r");
    if (!f)
        return;
    char line[MAX_PATH + 16];
    while (std::fgets(line, sizeof line, f)) {
        char *comma = std::strrchr(line, ',');
        if (!comma)
            continue;
        *comma = '\0';
        HICON icon = ExtractIconA(instance, line, static_cast<UINT>(std::atoi(comma + 1)));
        if (reinterpret_cast<UINT_PTR>(icon) > 1)
            DestroyIcon(icon);
    }
    std::fclose(f);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = "TAV floor";
    RegisterClassA(&wc);
    int slots = 0;
    if (std::strncmp(commandLine, "/buttons=", 9) == 0) {
        slots = std::atoi(commandLine + 9);
        char *rest = std::strchr(commandLine, ' ');
        commandLine = rest ? rest + 1 : commandLine + std::strlen(commandLine);
    }
    // 38-pixel cells and a 19-pixel column of control buttons on each side and between, as the bar lays them out.
    const int width = slots ? slots * 38 + 3 * 19 + 8 : 255;
    HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "floor", WS_POPUP | WS_CAPTION, 0, 0, width, 56,
                             nullptr, nullptr, instance, nullptr);
    if (slots) {
        HDC screen = GetDC(nullptr);
        gCell = CreateCompatibleDC(screen);
        SelectObject(gCell, CreateCompatibleBitmap(screen, 38, 38));
        ReleaseDC(nullptr, screen);
        PatBlt(gCell, 0, 0, 38, 38, WHITENESS);
        for (int k = 0; k < slots + 5; ++k) {
            const int x = k < slots ? k * 38 : slots * 38 + (k - slots) / 2 * 19, y = k < slots ? 0 : (k - slots) % 2 * 19;
            CreateWindowExA(0, "button", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, x, y, k < slots ? 38 : 19,
                            k < slots ? 38 : 19, w, reinterpret_cast<HMENU>(static_cast<INT_PTR>(1000 + k)), instance,
                            nullptr);
        }
    }
    if (*commandLine) {
        ReadSection();
        ExtractListed(instance, commandLine);
    }
    ShowWindow(w, SW_SHOWNORMAL);
    UpdateWindow(w);
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = w;
    nid.uID = 1;
    nid.uFlags = NIF_ICON | NIF_TIP;
    nid.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    lstrcpyA(nid.szTip, "floor");
    Shell_NotifyIconA(NIM_ADD, &nid);
    SendMessageA(HWND_BROADCAST, RegisterWindowMessageA("TAV_MESSAGE"), 0, 1);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    Shell_NotifyIconA(NIM_DELETE, &nid);
    return 0;
}
