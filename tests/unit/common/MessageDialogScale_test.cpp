// The message dialog at the screen's scale and after a move to a screen of another scale.
#include "common/DpiScaling.h"
#include "common/MessageDialog.h"
#include "common/WindowDpi.h"
#include "support/Automation.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using namespace orv::test;

LONG FontHeight(HWND wnd) {
    LOGFONTA lf = {};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(wnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf.lfHeight;
}

// The system's message font height, carried from the system's scale to dpi.
LONG MessageFontHeight(int dpi) {
    NONCLIENTMETRICSA m = {};
    m.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, m.cbSize, &m, 0);
    return RescaleFontHeight(m.lfMessageFont.lfHeight, SystemDpi(), dpi);
}

// Icon, text and buttons where the layout puts them, inside the client area, in the font
// and icon size of the scale.
void ExpectLaidOutFor(const TMessageForm& form, int dpi) {
    const TMessageDialogLayout& l = form.Layout();
    EXPECT_EQ(dpi, form.Dpi());
    EXPECT_EQ(ScaleForDpi(32, dpi), l.Icon.Width);
    const SIZE client = ClientSize(form.Handle());
    EXPECT_EQ(l.ClientWidth, client.cx);
    EXPECT_EQ(l.ClientHeight, client.cy);
    const std::vector<ControlInfo> controls = ListControls(form.Handle());
    ASSERT_EQ(2 + l.Buttons.size(), controls.size());
    EXPECT_EQ(l.Icon.Width, controls[0].Rect.right - controls[0].Rect.left);
    EXPECT_EQ(l.Icon.Height, controls[0].Rect.bottom - controls[0].Rect.top);
    EXPECT_EQ(l.Text.Left, controls[1].Rect.left);
    EXPECT_EQ(l.Text.Width, controls[1].Rect.right - controls[1].Rect.left);
    EXPECT_EQ(MessageFontHeight(dpi), FontHeight(controls[1].Handle));
    for (size_t i = 0; i < l.Buttons.size(); ++i) {
        const ControlInfo& b = controls[2 + i];
        EXPECT_EQ(l.Buttons[i].Rect.Left, b.Rect.left);
        EXPECT_EQ(l.Buttons[i].Rect.Top, b.Rect.top);
        EXPECT_EQ(l.Bh, b.Rect.bottom - b.Rect.top);
        EXPECT_LE(b.Rect.right, client.cx);
        EXPECT_LE(b.Rect.bottom, client.cy);
        EXPECT_EQ(MessageFontHeight(dpi), FontHeight(b.Handle));
    }
}

const char* const Text = "A copy of Orvanel Word Processor is already running on your system.";

TEST(MessageDialogScale, FollowsTheScaleOfItsScreen) {
    std::unique_ptr<TMessageForm> form = BuildMessageDialog(Text, mkInformation, mbYes | mbNo);
    ExpectLaidOutFor(*form, WindowDpi(form->Handle()));
    if (form->Dpi() != DefaultDpi) {
        ::ShowWindow(form->Handle(), SW_SHOWNA);
        ::UpdateWindow(form->Handle());
        EXPECT_TRUE(SaveWindowScreenshot(form->Handle(), "message-" + std::to_string(form->Dpi()) + "dpi.bmp"));
    }
}

TEST(MessageDialogScale, AMoveToAnotherScaleLaysItOutAgain) {
    std::unique_ptr<TMessageForm> form = BuildMessageDialog(Text, mkError, mbAbort | mbRetry | mbIgnore);
    const int own = form->Dpi();
    const TMessageDialogLayout before = form->Layout();
    const int other = own == DefaultDpi ? 192 : DefaultDpi;
    RECT proposed = WindowRectOnScreen(form->Handle());
    proposed.left += 10;
    ::SendMessageA(form->Handle(), WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&proposed));
    ExpectLaidOutFor(*form, other);
    EXPECT_EQ(proposed.left, WindowRectOnScreen(form->Handle()).left);
    if (other > own) {
        EXPECT_GT(form->Layout().ClientWidth, before.ClientWidth);
        EXPECT_GT(form->Layout().Bh, before.Bh);
    }

    ::SendMessageA(form->Handle(), WM_DPICHANGED, MAKEWPARAM(own, own), reinterpret_cast<LPARAM>(&proposed));
    ExpectLaidOutFor(*form, own);
    EXPECT_EQ(before.ClientWidth, form->Layout().ClientWidth);
    EXPECT_EQ(before.ClientHeight, form->Layout().ClientHeight);
    EXPECT_EQ(before.Text.Width, form->Layout().Text.Width);
}

TEST(MessageDialogScale, ALargerIconWidensTheIconBlock) {
    const TMessageDialogLayout at96 = LayoutMessageDialog(6, 13, 300, 20, mbOK);
    const TMessageDialogLayout at192 = LayoutMessageDialog(6, 13, 300, 20, mbOK, 64);
    EXPECT_EQ(at96.Text.Left + 32, at192.Text.Left);
    EXPECT_EQ(at96.ClientWidth + 32, at192.ClientWidth);
    EXPECT_EQ(64, at192.Icon.Height);
    EXPECT_EQ(at96.Buttons[0].Rect.Top + 32, at192.Buttons[0].Rect.Top);  // a block of at least 64
}

}  // namespace
}  // namespace orv
