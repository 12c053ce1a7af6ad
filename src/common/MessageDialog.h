// The setup's one message dialog: a text, a system icon by kind and a row of buttons.
#pragma once

#include "common/MessageDialogLayout.h"
#include "common/Owners.h"
#include "common/WindowDpi.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace orv {

// Message kinds: they choose the caption and the icon.
enum : uint8_t { mkWarning = 0, mkError = 1, mkInformation = 2, mkConfirm = 3 };

// Button set bits, laid out left to right in bit order; bits 9 to 15 are ignored.
enum : uint16_t {
    mbYes = 1 << 0,
    mbNo = 1 << 1,
    mbOK = 1 << 2,
    mbCancel = 1 << 3,
    mbAbort = 1 << 4,
    mbRetry = 1 << 5,
    mbIgnore = 1 << 6,
    mbAll = 1 << 7,
    mbNoToAll = 1 << 8,
};

// Result of the "All" button (the others use IDOK .. IDNO; "No to All" gives 0, which
// does not end the dialog).
constexpr int32_t mrAll = 8;

// The caption and system icon of a kind (kinds above 3 are a caller error and get kind 0's).
const char* MessageKindCaption(uint8_t kind);
LPCSTR MessageKindIcon(uint8_t kind);
// Caption (with "&" mnemonic) and result of button bit 0 .. 8.
const char* MessageButtonCaption(int index);
int32_t MessageButtonResult(int index);

// The average character size of the font selected into dc: the 223 characters 32 .. 254
// measured together, width divided (toward zero), height as measured.
SIZE GetAverageCharSize(HDC dc);

// The dialog window: built on the fly, shown modally once, destroyed with the object.
// The window class is registered under this name too, so a test can find it by class.
class TMessageForm {
public:
    static const char* const ClassName;

    TMessageForm(const TMessageForm&) = delete;
    TMessageForm& operator=(const TMessageForm&) = delete;
    ~TMessageForm();

    HWND Handle() const { return wnd_.get(); }
    const TMessageDialogLayout& Layout() const { return layout_; }
    // Runs the dialog's own modal loop: the thread's other top-level windows are disabled
    // meanwhile, but every message (other windows' timers included) keeps flowing.
    int32_t ShowModal();
    // WM_DPICHANGED: laid out again for the new scale at the place the system proposes.
    void DpiChanged(int dpi, const RECT& proposed);
    int Dpi() const { return dpi_; }

private:
    friend std::unique_ptr<TMessageForm> BuildMessageDialog(const std::string&, uint8_t, uint16_t);
    TMessageForm() = default;
    static INT_PTR CALLBACK DialogProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    bool OnCommand(WPARAM wp, LPARAM lp);
    void Measure(int dpi);
    void PlaceWindow(const RECT* proposed);
    void CreateControls();
    void MoveControls();
    void ShowIcon();
    void End(int32_t result);

    UniqueHwnd wnd_;
    UniqueHFont font_;  // empty when the system message font was not available
    TSystemIcon icon_;
    TMessageDialogLayout layout_;
    std::string text_;
    uint8_t kind_ = 0;
    uint16_t buttons_ = 0;
    int dpi_ = 96;
    HWND iconWnd_ = nullptr;
    HWND textWnd_ = nullptr;
    HWND defaultButton_ = nullptr;
    HWND cancelButton_ = nullptr;
    bool done_ = false;
    int32_t result_ = IDCANCEL;
};

// Builds the dialog, laid out and not yet shown, owned by the caller.
std::unique_ptr<TMessageForm> BuildMessageDialog(const std::string& text, uint8_t kind, uint16_t buttons);

// Shows the dialog modally and returns the result of the button pressed (2 for a close
// from the title bar). User-interface thread only.
int32_t ShowMessageDialog(const std::string& text, uint8_t kind, uint16_t buttons);

}  // namespace orv
