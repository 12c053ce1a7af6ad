// The folder list on real folder trees: path items, sorted visible sub-folders, indents,
// the walk up from missing folders, drive switches and the selection that opens a folder.
#include "wizard/FolderListBox.h"

#include "TestParentWindow.h"
#include "common/InstUtils.h"
#include "support/Scratch.h"
#include "ui/ScaledPicture.h"
#include "wizard/ListBitmaps.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

TEST(FolderListBox, PathItemsRunFromTheRootDownToTheFolder) {
    using V = std::vector<std::string>;
    struct Case {
        const char* dir;
        V items;
    } cases[] = {
        {"c:\\", V{"c:\\"}},
        {"c:", V{"c:\\"}},
        {"c:\\a", V{"c:\\", "c:\\a"}},
        {"C:\\Program Files\\", V{"C:\\", "C:\\Program Files"}},
        {"e:\\a\\bb\\c", V{"e:\\", "e:\\a", "e:\\a\\bb", "e:\\a\\bb\\c"}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.items, FolderPathItems(c.dir)) << c.dir;
}

TEST(FolderListBox, IndentsStepTwelvePixelsALevel) {
    struct Case {
        int index;
        bool sub;
        const char* dir;
        int indent;
    } cases[] = {
        {0, false, "c:\\a\\b", 3}, {1, false, "c:\\a\\b", 15},  {2, false, "c:\\a\\b", 27},
        {3, true, "c:\\a\\b", 39}, {7, true, "c:\\a\\b\\", 39}, {1, true, "c:\\", 15},
    };
    for (const auto& c : cases) EXPECT_EQ(c.indent, FolderItemIndent(c.index, c.sub, c.dir)) << c.dir << c.index;
}

TEST(FolderListBox, CaptionsShowTheDriveOrTheLastElement) {
    EXPECT_EQ("C:", FolderItemCaption(0, "C:\\", true));
    EXPECT_EQ("Program Files", FolderItemCaption(1, "C:\\Program Files", true));
    EXPECT_EQ("program files", FolderItemCaption(1, "C:\\Program Files", false));
    EXPECT_EQ("Sub", FolderItemCaption(4, "C:\\a\\Sub", true));
}

// A parent window with a folder list that counts its change notifications.
struct FolderListFixture : ::testing::Test {
    FolderListFixture() {
        folders.Create(parent.Handle(), 101, 10, 10, 345, 174, nullptr);
        parent.Router().Add(&folders);
        folders.OnChange = [this] { ++changes; };
    }
    test::TestParentWindow parent;
    TDirectoryListBox folders;
    int changes = 0;
};

TEST_F(FolderListFixture, ListsVisibleSubFoldersSortedAfterThePath) {
    test::ScratchFolder root("fl");
    for (const char* name : {"beta", "Alpha", "gamma", "Hidden", "System", "Both"})
        ASSERT_TRUE(::CreateDirectoryA((root / name).c_str(), nullptr));
    ASSERT_TRUE(::SetFileAttributesA((root / "Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(::SetFileAttributesA((root / "System").c_str(), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(::SetFileAttributesA((root / "Both").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    test::WriteFileBytes(root / "file.txt", "x");

    folders.SetDirectory(root.Path());
    EXPECT_EQ(root.Path(), folders.Directory());
    EXPECT_EQ(1, changes);

    const std::vector<std::string> path = FolderPathItems(root.Path());
    ASSERT_EQ(static_cast<int>(path.size()) + 3, folders.ItemCount());
    EXPECT_EQ(static_cast<int>(path.size()), folders.PathItemCount());
    for (size_t i = 0; i < path.size(); ++i) {
        EXPECT_EQ(path[i], folders.ItemPath(static_cast<int>(i)));
        EXPECT_EQ(TDirectoryListBox::fpOpen, folders.ItemPicture(static_cast<int>(i)));
    }
    const int first = folders.PathItemCount();
    EXPECT_EQ(root / "Alpha", folders.ItemPath(first));
    EXPECT_EQ(root / "beta", folders.ItemPath(first + 1));
    EXPECT_EQ(root / "gamma", folders.ItemPath(first + 2));
    EXPECT_EQ(TDirectoryListBox::fpClosed, folders.ItemPicture(first));
    EXPECT_EQ(first - 1, static_cast<int>(::SendMessageA(folders.Handle(), LB_GETCURSEL, 0, 0)))
        << "the current folder is selected";
    EXPECT_EQ(folders.ItemCount(), static_cast<int>(::SendMessageA(folders.Handle(), LB_GETCOUNT, 0, 0)));
    EXPECT_TRUE(folders.CasePreserved());
    test::TestParentWindow::Pump();

    folders.SetDirectory(root.Path());
    EXPECT_EQ(1, changes) << "the same folder again changes nothing";
}

TEST_F(FolderListFixture, MissingFoldersWalkUpToTheNearestExistingOne) {
    test::ScratchFolder root("walk");
    folders.SetDirectory(root / "one\\two\\three");
    EXPECT_EQ(root.Path() + "\\", folders.Directory()) << "the walk stops just after a backslash";
    folders.SetDirectory("e:\\no\\such\\folder\\");
    EXPECT_EQ("e:\\", folders.Directory());
    folders.SetDirectory("q:\\gone");
    EXPECT_EQ("q:\\", folders.Directory()) << "at worst the drive root";
    EXPECT_EQ(1, folders.ItemCount());
}

TEST_F(FolderListFixture, PathsWithoutADriveLetterShowTheProgramFilesProposal) {
    std::string expected = ProgramFilesFolder();
    AddBackslash(expected);
    if (FolderExists(expected + "Orvanel")) expected += "Orvanel";
    for (const char* path : {"Apps\\Word", "\\\\server\\share\\Word"}) {
        folders.SetDirectory("e:\\");
        folders.SetDirectory(path);
        EXPECT_EQ(expected, folders.Directory()) << path;
    }
}

TEST_F(FolderListFixture, ChangeDriveProposesAFolderOnTheNewDrive) {
    const std::string pf = ProgramFilesFolder();
    const char pfDrive = pf[0];
    folders.SetDirectory("e:\\");
    folders.ChangeDrive(pfDrive);
    EXPECT_EQ(pf + "\\", folders.Directory()) << "no Orvanel folder yet: the program-files folder";

    ForceFolders(pf + "\\Orvanel\\");
    folders.SetDirectory("e:\\");
    folders.ChangeDrive(pfDrive);
    EXPECT_EQ(pf + "\\Orvanel", folders.Directory());
    ::RemoveDirectoryA((pf + "\\Orvanel").c_str());

    // Another drive: the same path when it exists there, else the root.
    test::ScratchFolder root("cd");
    const std::string onE = "e" + root.Path().substr(1);
    ForceFolders(onE + "\\");
    folders.SetDirectory(root.Path());
    const int before = changes;
    folders.ChangeDrive('e');
    EXPECT_EQ(onE, folders.Directory());
    EXPECT_EQ(before + 1, changes);
    DeleteTree(onE);
    folders.ChangeDrive('r');
    EXPECT_EQ("r:\\", folders.Directory());
    folders.ChangeDrive('R');
    EXPECT_EQ("r:\\", folders.Directory()) << "the same drive in another case changes nothing";
    EXPECT_EQ(before + 2, changes);
}

TEST_F(FolderListFixture, ClickingASubFolderOpensIt) {
    test::ScratchFolder root("click");
    ASSERT_TRUE(::CreateDirectoryA((root / "Sub").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((root / "Sub\\Inner").c_str(), nullptr));
    folders.SetDirectory(root.Path());
    const int sub = folders.PathItemCount();

    RECT r;
    ::SendMessageA(folders.Handle(), LB_GETITEMRECT, static_cast<WPARAM>(sub), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM(r.left + 40, (r.top + r.bottom) / 2);
    ::SendMessageA(folders.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(folders.Handle(), WM_LBUTTONUP, 0, at);
    test::TestParentWindow::Pump();

    EXPECT_EQ(root / "Sub", folders.Directory());
    EXPECT_EQ(sub + 2, folders.ItemCount());
    EXPECT_EQ(root / "Sub\\Inner", folders.ItemPath(sub + 1));
    EXPECT_EQ(sub, static_cast<int>(::SendMessageA(folders.Handle(), LB_GETCURSEL, 0, 0)));
}

// A memory device context for checking drawn pixels.
struct MemoryDC {
    explicit MemoryDC(HDC like) : dc(::CreateCompatibleDC(like)) {}
    ~MemoryDC() { ::DeleteDC(dc); }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC dc;
};

TEST(ListBitmaps, PicturesAreDrawnWithTheirBottomLeftColourLeftOut) {
    for (const char* name : {"FIXEDDRIVE", "REMOVABLEDRIVE", "OPENFOLDER", "CLOSEDFOLDER"}) {
        UniqueHBitmap picture = ui::LoadBitmapResourceDib(name);
        ASSERT_TRUE(picture) << name;
        const SIZE size = ui::PictureSize(picture.get());
        WindowDC screen(nullptr);
        MemoryDC target(screen.get()), source(screen.get());
        UniqueHBitmap canvas(::CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
        SelectObjectGuard selTarget(target.dc, canvas.get());
        const COLORREF back = RGB(1, 2, 3);
        UniqueHBrush brush(::CreateSolidBrush(back));
        RECT all = {0, 0, size.cx, size.cy};
        ::FillRect(target.dc, &all, brush.get());
        DrawTransparentBitmap(target.dc, picture.get(), 0, 0);

        SelectObjectGuard selSource(source.dc, picture.get());
        const COLORREF key = ::GetPixel(source.dc, 0, size.cy - 1);
        int wrong = 0, keyPixels = 0;
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x) {
                const COLORREF pixel = ::GetPixel(source.dc, x, y);
                keyPixels += pixel == key;
                if (::GetPixel(target.dc, x, y) != (pixel == key ? back : pixel)) ++wrong;
            }
        EXPECT_EQ(0, wrong) << name;
        EXPECT_GT(keyPixels, 0) << name;
        EXPECT_LT(keyPixels, size.cx * size.cy) << name;
    }
}

}  // namespace
}  // namespace orv
