#include "support/AboutBox.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/HostError.h"

namespace cq::libquintor {
namespace {

constexpr int kMargin = 16;
constexpr int kTextWidth = 300;
constexpr int kLineHeight = 22;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;
constexpr int kMinimumHeight = 230;
constexpr wchar_t kFontName[] = L"MS Shell Dlg";
constexpr WORD kFontSize = 8;

struct Dialog {
    const AboutContent* content;
    HFONT titleFont = nullptr;
};

// A dialog template without controls (they are made in WM_INITDIALOG, in
// pixels): the header, no menu, the standard class, the title and the font.
std::vector<WORD> dialogTemplate(const std::wstring& title) {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    DLGTEMPLATE header = {};
    header.style = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    std::memcpy(words.data(), &header, sizeof header);
    words.push_back(0);  // no menu
    words.push_back(0);  // the dialog class
    words.insert(words.end(), title.begin(), title.end());
    words.push_back(0);
    words.push_back(kFontSize);
    words.insert(words.end(), std::begin(kFontName), std::end(kFontName));
    return words;
}

HWND child(HWND dialog, const wchar_t* cls, const std::wstring& text, DWORD style, int x, int y,
           int width, int height, int id, HFONT font) {
    HWND control = CreateWindowExW(
        0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, height, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)), nullptr);
    if (control != nullptr)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

// A line that can be selected and copied: a read-only edit without a border.
void textLine(HWND dialog, const std::wstring& text, int x, int& y, HFONT font) {
    if (text.empty()) return;
    child(dialog, L"EDIT", text, WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, x, y, kTextWidth,
          kLineHeight - 4, 0, font);
    y += kLineHeight;
}

void layOut(HWND dialog, Dialog& d) {
    const AboutContent& c = *d.content;
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    LOGFONTW title = {};
    GetObjectW(font, sizeof title, &title);
    title.lfWeight = FW_BOLD;
    title.lfHeight = title.lfHeight * 3 / 2;
    d.titleFont = CreateFontIndirectW(&title);

    int logoWidth = 0, logoHeight = 0;
    if (c.logo != nullptr) {
        BITMAP bitmap = {};
        GetObjectW(c.logo, sizeof bitmap, &bitmap);
        logoWidth = bitmap.bmWidth;
        logoHeight = std::abs(bitmap.bmHeight);
        HWND picture =
            child(dialog, L"STATIC", L"", SS_BITMAP, 0, 0, logoWidth, logoHeight, 0, font);
        SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(c.logo));
    }
    const int x = logoWidth + kMargin;
    int y = kMargin;
    std::wstring product = c.product;
    child(dialog, L"EDIT", product, WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, x, y, kTextWidth,
          kLineHeight + 4, 0, d.titleFont ? d.titleFont : font);
    y += kLineHeight + 8;
    if (!c.version.empty()) textLine(dialog, L"Version " + c.version, x, y, font);
    y += kLineHeight / 2;
    textLine(dialog, c.maker, x, y, font);
    textLine(dialog, c.shortName, x, y, font);
    textLine(dialog, c.web, x, y, font);

    const int width = x + kTextWidth + kMargin;
    const int height =
        std::max({logoHeight, kMinimumHeight, y + kMargin + kButtonHeight + kMargin});
    HWND ok = child(dialog, L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON,
                    width - kMargin - kButtonWidth, height - kMargin - kButtonHeight, kButtonWidth,
                    kButtonHeight, IDOK, font);

    // The frame around that client area, centred on the owner (or the screen).
    RECT frame = {0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)));
    RECT around = {};
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner == nullptr || !GetWindowRect(owner, &around))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
    const int frameWidth = frame.right - frame.left, frameHeight = frame.bottom - frame.top;
    SetWindowPos(dialog, nullptr, around.left + (around.right - around.left - frameWidth) / 2,
                 std::max(0L, around.top + (around.bottom - around.top - frameHeight) / 2),
                 frameWidth, frameHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    SetFocus(ok);
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* d = reinterpret_cast<Dialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            layOut(dialog, *reinterpret_cast<Dialog*>(lParam));
            return FALSE;  // the focus is set
        case WM_COMMAND:
            // OK or Enter (IDOK), Escape or the close box (IDCANCEL).
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            if (d != nullptr && d->titleFont != nullptr) {
                DeleteObject(d->titleFont);
                d->titleFont = nullptr;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void showAboutBox(HWND owner, const AboutContent& content) {
    Dialog d{&content};
    const std::vector<WORD> words = dialogTemplate(L"About " + content.product);
    HINSTANCE self = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&dialogProc), &self);
    const INT_PTR result =
        DialogBoxIndirectParamW(self, reinterpret_cast<const DLGTEMPLATE*>(words.data()), owner,
                                &dialogProc, reinterpret_cast<LPARAM>(&d));
    if (result == -1 || result == 0)
        throw HostError(static_cast<std::int32_t>(GetLastError()),
                        "the About window cannot be created");
}

}  // namespace cq::libquintor
