// The baseline for the start-up and memory figures: the least a Win32 program of the
// same size can do (an 847 x 490 popup that paints one fill), logging the same
// first_paint_ms, input_ready_ms and peak_working_set lines as the test build does.
//   minimal_window.exe [DLL | PART ...]
// Each argument, in order, adds before the first paint one thing vorlane does for its first
// frame, so that the cost of each can be told apart; those after --then come after it:
//   NAME.dll              loads the DLL
//   --common-controls     InitCommonControlsEx (comctl32.dll)
//   --wic                 COM and the WIC imaging factory
//   --decode=FILE         decodes a whole PNG into 32-bit pixels, through WIC
//   --decode-part=WxH:FILE  decodes only the top-left W x H pixels of one
//   --ip                  the adapters' addresses (iphlpapi.dll)
//   --controls            three edit boxes and two radio buttons, in the control font
//   --band                paints through a buffer one band high, as vorlane's window does
//   --text                draws vorlane's labels (a CJK font, bold and normal, three sizes)
//   --fetch=URL           one GET with WinINet on a worker thread, waited for until the worker ends
//   --threads=N           N threads that live until the window closes, made as vorlane's workers
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <wincodec.h>
#include <winsock2.h>
#include <iphlpapi.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 847, kHeight = 490, kBand = 64;

void appendLogLine(const std::string& line) {
    const char* path = std::getenv("VORLANE_TEST_LOG");
    if (!path || !*path) return;
    if (std::FILE* f = std::fopen(path, "ab")) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fputc('\n', f);
        std::fclose(f);
    }
}

// Milliseconds since the process was created, as the test build measures them.
void logSinceProcessCreation(const char* key) {
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return;
    GetSystemTimePreciseAsFileTime(&now);
    auto ticks = [](const FILETIME& f) { return (static_cast<long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
    appendLogLine(std::string("{\"") + key + "\":" + std::to_string(static_cast<double>(ticks(now) - ticks(created)) / 10000.0) + "}");
}

void logPeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return;
    appendLogLine("{\"peak_working_set\":" + std::to_string(counters.PeakWorkingSetSize) + "}");
}

template <typename F>
F* function(const wchar_t* dll, const char* name) {
    return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(dll), name)));
}

IWICImagingFactory* wic() {
    static IWICImagingFactory* factory = [] {
        function<HRESULT WINAPI(void*, DWORD)>(L"ole32.dll", "CoInitializeEx")(nullptr, COINIT_APARTMENTTHREADED);
        IWICImagingFactory* made = nullptr;
        function<HRESULT WINAPI(REFCLSID, IUnknown*, DWORD, REFIID, void**)>(L"ole32.dll", "CoCreateInstance")(
            CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
            reinterpret_cast<void**>(&made));
        return made;
    }();
    return factory;
}

std::vector<std::vector<UINT>> decoded;  // kept, as vorlane keeps its pictures

void decode(const std::wstring& path, UINT width, UINT height) {
    IWICImagingFactory* factory = wic();
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    UINT w = 0, h = 0;
    if (factory && SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                                WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&w, &h))) {
        w = std::min(w, width);
        h = std::min(h, height);
        std::vector<UINT> pixels(static_cast<std::size_t>(w) * h);
        WICRect part{0, 0, static_cast<INT>(w), static_cast<INT>(h)};
        converter->CopyPixels(&part, w * 4, w * h * 4, reinterpret_cast<BYTE*>(pixels.data()));
        decoded.push_back(std::move(pixels));
    }
    if (converter) converter->Release();
    if (frame) frame->Release();
    if (decoder) decoder->Release();
}

void adapterAddresses() {
    auto get = function<ULONG WINAPI(ULONG, ULONG, void*, IP_ADAPTER_ADDRESSES*, ULONG*)>(L"iphlpapi.dll",
                                                                                       "GetAdaptersAddresses");
    ULONG size = 16 * 1024;
    std::vector<unsigned char> buffer(size);
    get(AF_INET, GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER, nullptr,
        reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
}

HANDLE closing = CreateEventW(nullptr, TRUE, FALSE, nullptr);

HANDLE startThread(LPTHREAD_START_ROUTINE work, void* argument) {
    return CreateThread(nullptr, 256 << 10, work, argument, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
}

void startThreads(int count) {
    for (int i = 0; i < count; ++i) {
        CloseHandle(startThread([](void*) -> DWORD { return WaitForSingleObject(closing, INFINITE); }, nullptr));
    }
}

void fetch(const std::wstring& url) {
    HANDLE worker = startThread(
        [](void* address) -> DWORD {
            auto open = function<HINTERNET WINAPI(LPCWSTR, DWORD, LPCWSTR, LPCWSTR, DWORD)>(L"wininet.dll",
                                                                                           "InternetOpenW");
            auto openUrl = function<HINTERNET WINAPI(HINTERNET, LPCWSTR, LPCWSTR, DWORD, DWORD, DWORD_PTR)>(
                L"wininet.dll", "InternetOpenUrlW");
            auto close = function<BOOL WINAPI(HINTERNET)>(L"wininet.dll", "InternetCloseHandle");
            HINTERNET session = open(L"VorlaneBench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
            if (HINTERNET page = openUrl(session, static_cast<const wchar_t*>(address), nullptr, 0,
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)) {
                close(page);
            }
            close(session);
            return 0;
        },
        const_cast<wchar_t*>(url.c_str()));
    WaitForSingleObject(worker, INFINITE);
    CloseHandle(worker);
}

// vorlane's labels: where, how large, bold or not, and their text.
struct Label {
    int left, top, height;
    bool bold;
    const wchar_t* text;
};
const Label kLabels[] = {
    {16, 8, 14, true, L"Vorlane1.0"}, {32, 44, 12, false, L"体验服转换到正服"}, {32, 68, 12, false, L"正服转换到体验服"},
    {160, 40, 12, true, L"（正服）最新版本"}, {160, 64, 12, true, L"（体验服）最新版本"}, {288, 40, 12, true, L"1.0.9.310"},
    {8, 94, 12, true, L"（正服）当前版本"}, {8, 150, 12, true, L"（体验服）当前版本"}, {8, 254, 12, true, L"mp3音乐"},
    {72, 254, 12, true, L"点击这里打开目录"}, {16, 350, 12, true, L"当前客户端：未知（启动器文件不是本程序写入的）"},
    {48, 406, 16, true, L"警示：当前版本信息请详细填写。（乱填写后果自负）"}, {8, 462, 12, true, L"IP：192.168.1.2"},
    {504, 462, 12, true, L"最新版本："}, {672, 462, 12, true, L"当前版本：1.0"}, {304, 226, 14, true, L"转 换"},
    {620, 42, 14, true, L"全屏查看最新版本图片"}, {396, 282, 12, true, L"转换为背景音乐"}, {520, 282, 14, true, L"还 原"},
    {300, 314, 14, true, L"播 放"}, {404, 314, 14, true, L"打开CF"}, {520, 314, 14, true, L"官方网站"},
    {636, 10, 14, true, L"最小化"}, {760, 10, 14, true, L"关 闭"},
};

bool band = false, text = false;
HDC bandDc = nullptr;
void* bandBits = nullptr;

HFONT font(int height, bool bold) {
    static HFONT made[2][32] = {};
    HFONT& f = made[bold][height];
    if (!f) {
        f = CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                        L"Microsoft YaHei");
    }
    return f;
}

void paintBands(HDC dc, const RECT& area) {
    if (!bandDc) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, kWidth, -kBand, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bandDc = CreateCompatibleDC(nullptr);
        SelectObject(bandDc, CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bandBits, nullptr, 0));
        SetBkMode(bandDc, TRANSPARENT);
        SetTextColor(bandDc, RGB(216, 54, 7));
    }
    for (int top = area.top; top < area.bottom; top += kBand) {
        std::fill_n(static_cast<UINT*>(bandBits), kWidth * kBand, 0x183020u);
        if (text) {
            for (const Label& label : kLabels) {
                RECT box{label.left, label.top - top, kWidth, label.top - top + 20};
                if (box.bottom <= 0 || box.top >= kBand) continue;
                SelectObject(bandDc, font(label.height, label.bold));
                DrawTextW(bandDc, label.text, -1, &box, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
            }
            GdiFlush();
        }
        BitBlt(dc, area.left, top, area.right - area.left, std::min(kBand, static_cast<int>(area.bottom) - top), bandDc,
               area.left, 0, SRCCOPY);
    }
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            if (band || text) {
                paintBands(dc, paint.rcPaint);
            } else {
                HBRUSH fill = CreateSolidBrush(RGB(24, 32, 48));
                FillRect(dc, &paint.rcPaint, fill);
                DeleteObject(fill);
            }
            EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

void makeControls(HWND window, HINSTANCE instance) {
    HFONT controlFont = font(12, false);
    for (int i = 0; i < 3; ++i) {
        HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | WS_TABSTOP, 16,
                                    120 + 56 * i, 296, 16, window, nullptr, instance, nullptr);
        SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont), FALSE);
    }
    for (int i = 0; i < 2; ++i) {
        HWND radio = CreateWindowExW(0, L"BUTTON", kLabels[1 + i].text, WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON, 16,
                                     40 + 24 * i, 120, 24, window, nullptr, instance, nullptr);
        SendMessageW(radio, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont), FALSE);
    }
}

// Applies the arguments from `first` up to --then; gives the index after it.
int apply(int first, bool& controls) {
    int i = first;
    for (; i < __argc; ++i) {
        const std::wstring arg = __wargv[i];
        if (arg == L"--then") return i + 1;
        if (arg == L"--common-controls") {
            INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
            function<BOOL WINAPI(const INITCOMMONCONTROLSEX*)>(L"comctl32.dll", "InitCommonControlsEx")(&icc);
        } else if (arg == L"--wic") {
            wic();
        } else if (arg.rfind(L"--decode=", 0) == 0) {
            decode(arg.substr(9), 16384, 16384);
        } else if (arg.rfind(L"--decode-part=", 0) == 0) {
            const std::size_t x = arg.find(L'x'), colon = arg.find(L':', 14);
            const UINT width = std::stoul(arg.substr(14, x - 14)), height = std::stoul(arg.substr(x + 1, colon - x - 1));
            decode(arg.substr(colon + 1), width, height);
        } else if (arg == L"--ip") {
            adapterAddresses();
        } else if (arg.rfind(L"--fetch=", 0) == 0) {
            fetch(arg.substr(8));
        } else if (arg.rfind(L"--threads=", 0) == 0) {
            startThreads(std::stoi(arg.substr(10)));
        } else if (arg == L"--controls") {
            controls = true;
        } else if (arg == L"--band") {
            band = true;
        } else if (arg == L"--text") {
            text = true;
        } else {
            LoadLibraryW(arg.c_str());
        }
    }
    return i;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    bool controls = false;
    const int later = apply(1, controls);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"VorlaneBenchMinimal";
    if (!RegisterClassW(&windowClass)) return 1;
    int left = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2, top = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    HWND window = CreateWindowExW(WS_EX_APPWINDOW, windowClass.lpszClassName, L"VorlaneBenchMinimal",
                                  WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, left, top, kWidth, kHeight,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    if (controls) makeControls(window, instance);
    ShowWindow(window, SW_SHOWNORMAL);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    logSinceProcessCreation("first_paint_ms");
    apply(later, controls);
    logSinceProcessCreation("input_ready_ms");
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    logPeakWorkingSet();
    SetEvent(closing);
    return 0;
}
