// The wizard window at the screen's scale (run under Wine at 96, 120, 144 and 192 dpi): its
// size and fonts follow the scale, every control stays inside its page and apart from its
// neighbours, no text is cut off, and a change of scale lays it out again.
#include "wizard/MainDlg.h"

#include "common/DpiScaling.h"
#include "common/Owners.h"
#include "common/WindowDpi.h"
#include "engine/ResConst.h"
#include "support/Automation.h"
#include "ui/Application.h"
#include "ui/ScaledPicture.h"
#include "wizard/CheckListBox.h"
#include "wizard/DriveComboBox.h"
#include "wizard/FolderListBox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace orv {
namespace {

std::string ClassOf(HWND wnd) {
    char name[64] = {};
    ::GetClassNameA(wnd, name, sizeof name);
    return name;
}

std::string TextOf(HWND wnd) {
    char buf[512] = {};
    ::GetWindowTextA(wnd, buf, sizeof buf);
    return buf;
}

// The window's rectangle in the client coordinates of another window.
RECT RectIn(HWND wnd, HWND in) {
    RECT r;
    ::GetWindowRect(wnd, &r);
    ::MapWindowPoints(nullptr, in, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Overlap(const RECT& a, const RECT& b) {
    RECT both;
    return ::IntersectRect(&both, &a, &b) != FALSE;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool IsContainer(HWND wnd) {
    const std::string cls = ClassOf(wnd);
    return cls == "TPanel" || cls == "TTabSheet" || cls == "TPageControl";
}

// The text's extent in the control's font: wrapped at the control's width unless the
// control keeps its text on one line per break.
SIZE MeasureText(HWND wnd, const std::string& text, bool wrap) {
    WindowDC dc(wnd);
    SelectObjectGuard font(dc.get(), reinterpret_cast<HFONT>(::SendMessageA(wnd, WM_GETFONT, 0, 0)));
    RECT client;
    ::GetClientRect(wnd, &client);
    RECT r = {0, 0, wrap ? client.right : 0, 0};
    ::DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
                DT_CALCRECT | DT_EXPANDTABS | (wrap ? DT_WORDBREAK : 0));
    return SIZE{r.right, r.bottom};
}

// Every control (containers included) below a window, with the window it lies in.
void CollectControls(HWND parent, std::vector<std::pair<HWND, HWND>>& out) {
    for (HWND w = ::GetWindow(parent, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        out.emplace_back(w, parent);
        CollectControls(w, out);
    }
}

int ExpectedDpi() {
    const char* value = std::getenv("ORV_EXPECT_DPI");
    return value ? std::atoi(value) : 0;
}

class MainDlgScale : public ::testing::Test {
protected:
    MainDlgScale() {
        ui::InitApplication();
        form = std::make_unique<TMainDlgForm>(files);
        dpi = form->Dpi();
    }
    HWND Page(int number) const { return form->FindPageByTag(static_cast<uint8_t>(number))->Handle(); }
    // The banner, the logo panel and the button row: the window's parts around the pages.
    std::vector<HWND> Frame() const {
        std::vector<HWND> parts;
        for (HWND w = ::GetWindow(form->Handle(), GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT))
            if (w != form->PgCtrl->Handle()) parts.push_back(w);
        return parts;
    }
    // Shows each page with its own title and button captions (pages past the install by
    // hand, as the install itself does not run here).
    void ShowPage(int number) {
        form->PgCtrl->SetActivePage(form->FindPageByTag(static_cast<uint8_t>(number)));
        form->TopLbl->SetText(PageTitles[number]);
        form->BackBtn->SetText("< &Back");
        form->NextBtn->SetText(number == 7 ? "&Finish" : "&Next >");
    }

    TAttachedFiles files;
    std::unique_ptr<TMainDlgForm> form;
    int dpi = 96;
};

TEST_F(MainDlgScale, WindowAndFontsFollowTheScreensScale) {
    if (ExpectedDpi()) {
        EXPECT_EQ(ExpectedDpi(), WindowDpi(form->Handle()));
    }
    EXPECT_EQ(WindowDpi(form->Handle()), dpi);
    RECT client;
    ::GetClientRect(form->Handle(), &client);
    EXPECT_EQ(ScaleForDpi(492, dpi), client.right);
    EXPECT_EQ(ScaleForDpi(351, dpi), client.bottom);

    const std::pair<HWND, int> fonts[] = {{form->NextBtn->Handle(), FontHeightForDpi(8, dpi)},
                                          {form->WelcomeLbl->Handle(), FontHeightForDpi(8, dpi)},
                                          {form->InstallingLbl2->Handle(), FontHeightForDpi(8, dpi)},
                                          {form->TopLbl->Handle(), -ScaleForDpi(15, dpi)}};
    for (const auto& f : fonts) {
        LOGFONTA lf = {};
        ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(f.first, WM_GETFONT, 0, 0)), sizeof lf, &lf);
        EXPECT_EQ(f.second, lf.lfHeight) << TextOf(f.first);
    }
    // Places and sizes come from the 96-dpi table, scaled edge by edge.
    EXPECT_EQ(ScaleForDpi(295, dpi), RectIn(form->NextBtn->Handle(), ::GetParent(form->NextBtn->Handle())).left);
    EXPECT_EQ(ScaleForDpi(48, dpi), RectIn(form->DestDirLstBx->Handle(), Page(2)).top);
    // List items, check boxes and pictures grow with the text.
    EXPECT_EQ(ScaleForDpi(16, dpi), ::SendMessageA(form->SelCompLstBx->Handle(), LB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(ScaleForDpi(17, dpi), ::SendMessageA(form->DestDirLstBx->Handle(), LB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(ScaleForDpi(TCheckListBox::CheckWidth(), dpi), TCheckListBox::CheckWidth(dpi));
    const SIZE logo = ui::PictureSize(form->LogoImage->ShownBitmap());
    EXPECT_EQ(ScaleForDpi(120, dpi), logo.cx);
    EXPECT_EQ(ScaleForDpi(260, dpi), logo.cy);
}

TEST_F(MainDlgScale, EveryControlLiesInsideItsPageAndApartFromItsNeighbours) {
    RECT client;
    ::GetClientRect(form->Handle(), &client);
    // The longest component name in bold, as the install shows it beside "Installing".
    std::string longest;
    for (const char* name : ComponentNames)
        if (std::string(name).size() > longest.size()) longest = name;
    form->InstallingLbl2->SetText(longest);

    for (int page = 0; page < form->PgCtrl->PageCount(); ++page) {
        ShowPage(page);
        SCOPED_TRACE(PageTitles[page]);
        std::vector<std::pair<HWND, HWND>> all;
        CollectControls(form->Handle(), all);
        std::map<HWND, std::vector<HWND>> siblings;
        for (const auto& [wnd, parent] : all) {
            if (!::IsWindowVisible(wnd) || IsContainer(wnd)) continue;
            const RECT r = RectIn(wnd, form->Handle());
            if (r.right == r.left) continue;  // an empty auto-sized label
            RECT parentClient;
            ::GetClientRect(parent, &parentClient);
            EXPECT_TRUE(Inside(RectIn(wnd, parent), parentClient)) << ClassOf(wnd) << " " << TextOf(wnd);
            EXPECT_TRUE(Inside(r, client)) << ClassOf(wnd) << " " << TextOf(wnd);
            siblings[parent].push_back(wnd);
            if (::IsChild(form->PgCtrl->Handle(), wnd)) {
                for (HWND part : Frame())
                    EXPECT_FALSE(Overlap(r, RectIn(part, form->Handle()))) << TextOf(wnd) << " under the frame";
            }
        }
        for (const auto& [parent, children] : siblings) {
            for (size_t i = 0; i < children.size(); ++i) {
                for (size_t j = i + 1; j < children.size(); ++j) {
                    EXPECT_FALSE(Overlap(RectIn(children[i], parent), RectIn(children[j], parent)))
                        << TextOf(children[i]) << " / " << TextOf(children[j]);
                }
            }
        }
    }
}

TEST_F(MainDlgScale, NoTextIsCutOff) {
    for (int page = 0; page < form->PgCtrl->PageCount(); ++page) {
        ShowPage(page);
        SCOPED_TRACE(PageTitles[page]);
        std::vector<std::pair<HWND, HWND>> all;
        CollectControls(form->Handle(), all);
        for (const auto& [wnd, parent] : all) {
            const std::string text = TextOf(wnd);
            if (text.empty() || !::IsWindowVisible(wnd)) continue;
            RECT client;
            ::GetClientRect(wnd, &client);
            const LONG style = ::GetWindowLongA(wnd, GWL_STYLE);
            if (ClassOf(wnd) == "Static") {
                const bool wrap = (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP;
                const SIZE need = MeasureText(wnd, text, wrap);
                EXPECT_LE(need.cx, client.right) << text;
                EXPECT_LE(need.cy, client.bottom) << text;
            } else if (ClassOf(wnd) == "Button") {
                const SIZE need = MeasureText(wnd, text, false);
                const bool checkBox = (style & BS_TYPEMASK) == BS_AUTOCHECKBOX;
                // A check box's text starts after the box and a gap; a button keeps a margin.
                const int beside = checkBox ? ScaleForDpi(13 + 4, dpi) : ScaleForDpi(8, dpi);
                EXPECT_LE(need.cx + beside, client.right) << text;
                EXPECT_LE(need.cy, client.bottom) << text;
            }
        }
    }
}

TEST_F(MainDlgScale, ScreenshotOfEveryPage) {
    if (dpi == DefaultDpi) GTEST_SKIP() << "the end-to-end tests keep the 100 % pictures";
    ::ShowWindow(form->Handle(), SW_SHOW);
    form->GoToPage(255, 0);
    form->InstallingLbl2->SetText(ComponentNames[1]);
    form->InstallingProgressBar->SetMax(100);
    form->InstallingProgressBar->SetPosition(40);
    for (int page = 0; page < form->PgCtrl->PageCount(); ++page) {
        ShowPage(page);
        ::RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        const std::string name = "wizard-" + std::to_string(dpi) + "dpi-page" + std::to_string(page) + ".bmp";
        EXPECT_TRUE(test::SaveWindowScreenshot(form->Handle(), name)) << name;
    }
}

// What a control's place is at the moment, in its parent's client coordinates.
std::map<HWND, RECT> Places(HWND form) {
    std::vector<std::pair<HWND, HWND>> all;
    CollectControls(form, all);
    std::map<HWND, RECT> places;
    for (const auto& [wnd, parent] : all) places[wnd] = RectIn(wnd, parent);
    return places;
}

void SendDpiChanged(HWND wnd, int dpi) {
    RECT proposed;
    ::GetWindowRect(wnd, &proposed);
    ::SendMessageA(wnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&proposed));
}

TEST_F(MainDlgScale, MovingToAnotherScaleLaysTheWindowOutAgain) {
    const std::map<HWND, RECT> before = Places(form->Handle());
    const int other = dpi == DefaultDpi ? 144 : DefaultDpi;
    SendDpiChanged(form->Handle(), other);
    EXPECT_EQ(other, form->Dpi());
    RECT client;
    ::GetClientRect(form->Handle(), &client);
    EXPECT_EQ(ScaleForDpi(492, other), client.right);
    EXPECT_EQ(ScaleForDpi(351, other), client.bottom);
    const RECT next = RectIn(form->NextBtn->Handle(), ::GetParent(form->NextBtn->Handle()));
    EXPECT_EQ(ScaleForDpi(295, other), next.left);
    EXPECT_EQ(ScaleForDpi(12, other), next.top);
    EXPECT_EQ(ScaleForDpi(380, other), next.right);
    EXPECT_EQ(ScaleForDpi(34, other), next.bottom);
    RECT page;
    ::GetClientRect(Page(3), &page);
    EXPECT_EQ(ScaleForDpi(375, other), page.right);
    EXPECT_EQ(ScaleForDpi(16, other), ::SendMessageA(form->SelCompLstBx->Handle(), LB_GETITEMHEIGHT, 0, 0));
    LOGFONTA lf = {};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(form->TopLbl->Handle(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_EQ(-ScaleForDpi(15, other), lf.lfHeight);

    // And back: every control exactly where it was.
    SendDpiChanged(form->Handle(), dpi);
    const std::map<HWND, RECT> after = Places(form->Handle());
    ASSERT_EQ(before.size(), after.size());
    for (const auto& [wnd, r] : before) {
        const RECT& now = after.at(wnd);
        EXPECT_TRUE(::EqualRect(&r, &now)) << ClassOf(wnd) << " " << TextOf(wnd) << " at " << now.left << "," << now.top
                                           << " " << now.right << "," << now.bottom;
    }
}

}  // namespace
}  // namespace orv
