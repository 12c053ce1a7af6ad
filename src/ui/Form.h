// A fixed-size top-level window run modally until it has a modal result and its close
// query allows closing; dialog keyboard handling, timers and activation as hooks.
#pragma once

#include "ui/StdControls.h"
#include "ui/WinControl.h"

#include <string>

namespace orv::ui {

// Modal results used by the forms of this program.
enum : int { mrNone = 0, mrOK = 1, mrCancel = 2 };

class TForm : public TWinControl {
public:
    ~TForm() override;

    // A hidden window of the given window class with a fixed single border and only the
    // system menu, the client area clientWidth x clientHeight (at 96 dpi, scaled to the
    // window's screen), centred on the screen.
    void CreateForm(const char* className, const std::string& caption, int clientWidth, int clientHeight);
    // The scale the form is laid out for: its screen's when created, then each change's.
    int Dpi() const { return dpi_; }

    // Shows the window and serves messages until a modal result is set and the close query
    // agrees; hides the window and returns the result.
    int ShowModal();
    // Destroys the window with its children; a derived form calls it before the objects
    // of its controls go.
    void DestroyHandle();
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // Asks the window to close: for a modal run, the modal result Cancel.
    void Close() { modalResult_ = mrCancel; }

    // Enter presses the default button (unless a button has the focus: then that one),
    // Esc the cancel button, each only while it is visible and enabled.
    void SetDefaultButton(TButton* button) { defaultButton_ = button; }
    void SetCancelButton(TButton* button) { cancelButton_ = button; }

    // The dialog keyboard of a modal run: true when the message was used up. A button it
    // presses runs inside the same catch as a mouse click: an error is shown and the run
    // goes on. Public so that a test can feed keys through it.
    bool PreTranslateMessage(MSG& msg);

protected:
    // The close query: true allows closing. The default allows it.
    virtual bool CloseQuery() { return true; }
    virtual void OnTimer(UINT_PTR) {}
    virtual void OnActivateApp(bool) {}
    // The window moved to a screen of another scale and has its new size (FormScaling.cpp).
    virtual void OnDpiChanged(int) {}
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FitClientToDpi(const RECT* proposed);
    void DpiChanged(int dpi, const RECT& proposed);
    void CloseModal();
    bool TranslateDialogMessage(MSG& msg);
    bool HandleDialogKey(const MSG& msg);
    bool HandleMnemonic(char letter);
    void MoveFocus(bool backwards);
    // As a dialog does: the focused control is remembered when the window loses activation
    // (a message box, another application) and given back when it regains it.
    void RememberFocus();
    bool RestoreFocus();

    int modalResult_ = mrNone;
    int dpi_ = 96;
    int clientWidth_ = 0, clientHeight_ = 0;  // at 96 dpi
    TButton* defaultButton_ = nullptr;
    TButton* cancelButton_ = nullptr;
    HWND savedFocus_ = nullptr;  // a child window, checked before use
};

// The letter marked by a single "&" in a caption ("&&" is a literal ampersand), upper-cased
// in the ANSI code page; '\0' when there is none.
char MnemonicOf(const std::string& caption);

}  // namespace orv::ui
