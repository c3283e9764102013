// The folder chooser: pressing the install-directory label opens the system's folder dialog,
// and the folder picked in its tree, a backslash and the product name become the caption.
// Wine's dialog returns the tree's selection (text typed into its edit box is ignored), so
// the tests choose through the tree as a user would; the edit box shows the selected item's
// name, which is how a test finds its way. The display-name rules of the chooser are
// covered by the unit tests of folder_choice.
#include <gtest/gtest.h>

#include "driver.h"

#include <commctrl.h>

#include <functional>

namespace {

const std::string installer = driver::windows_path(INSTALLER_EXE);
constexpr DWORD wait_ms = 15000;
const std::string product = "Lumvex工具14";
const std::string default_directory = "C:\\Lumvex软件\\" + product;

using name_test = std::function<bool(const std::string&)>;

name_test named(const std::string& name) {
    return [name](const std::string& shown) { return shown == name; };
}
// A drive shows as its volume label followed by " (C:)".
name_test drive(char letter) {
    const std::string suffix = std::string("(") + letter + ":)";
    return [suffix](const std::string& shown) {
        return shown.size() >= suffix.size() && shown.compare(shown.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
}

// A folder at the root of drive C: of the prefix, removed at the end.
class folder_on_c {
public:
    explicit folder_on_c(const std::string& name) : name_(name), path_("C:\\" + name) {
        created_ = CreateDirectoryA(path_.c_str(), nullptr) != FALSE;
    }
    ~folder_on_c() {
        if (created_) RemoveDirectoryA(path_.c_str());
    }
    folder_on_c(const folder_on_c&) = delete;
    folder_on_c& operator=(const folder_on_c&) = delete;
    bool created() const { return created_; }
    const std::string& name() const { return name_; }
    const std::string& path() const { return path_; }

private:
    std::string name_, path_;
    bool created_ = false;
};

class folder_chooser : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started());
        window = driver::wait_for_window(app.id(), "LumvexForm", wait_ms);
        ASSERT_NE(window, nullptr) << "the installer window did not appear";
        label = driver::find_descendant(window, "LumvexLabel", default_directory);
        ASSERT_NE(label, nullptr) << "no install-directory label reading " << default_directory;
    }

    std::string caption() const { return driver::window_text(label); }

    // Presses the label and waits for the dialog with its tree and edit box.
    void open_dialog() {
        driver::mouse_down(label, 5, 5);
        driver::mouse_up(label, 5, 5);
        dialog = driver::wait_for_window(app.id(), "#32770", wait_ms);
        ASSERT_NE(dialog, nullptr) << "the folder dialog did not open";
        const std::vector<HWND> trees = driver::find_descendants(dialog, "SysTreeView32");
        ASSERT_EQ(trees.size(), 1u);
        tree = trees[0];
        const std::vector<HWND> edits = driver::find_descendants(dialog, "Edit");
        ASSERT_EQ(edits.size(), 1u);
        edit = edits[0];
    }

    // Selects the item reached from the tree's root through children matching `steps`, as a
    // click on each would; false when a step finds no child. Item handles are the dialog
    // process's own, so the test only hands them back to the tree.
    bool select(const std::vector<name_test>& steps) {
        auto item = reinterpret_cast<LPARAM>(reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)));
        for (const name_test& step : steps) {
            SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, item);
            LPARAM child = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, item);
            while (child) {
                SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, child);
                if (step(driver::window_text(edit))) break;
                child = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, child);
            }
            if (!child) return false;
            item = child;
        }
        return SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) == item;
    }

    void press_dialog_button(int id) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
        EXPECT_TRUE(driver::wait_until([&] { return !IsWindow(dialog); }, wait_ms)) << "the dialog stayed open";
    }

    // Picks the item through the tree, confirms and waits for the caption to change.
    void choose(const std::vector<name_test>& steps, const std::string& expected_caption) {
        const std::string before = caption();
        ASSERT_NO_FATAL_FAILURE(open_dialog());
        ASSERT_TRUE(select(steps)) << "item not found in the tree";
        press_dialog_button(IDOK);
        driver::wait_until([&] { return caption() != before; }, wait_ms);
        EXPECT_EQ(caption(), expected_caption);
        EXPECT_TRUE(app.running());
    }

    driver::process app{installer};
    HWND window = nullptr, label = nullptr, dialog = nullptr, tree = nullptr, edit = nullptr;
};

TEST_F(folder_chooser, dialog_opens_over_the_desktop_with_its_title_and_modal_to_the_window) {
    ASSERT_NO_FATAL_FAILURE(open_dialog());
    driver::screenshot("folder_dialog");
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), window);
    EXPECT_FALSE(IsWindowEnabled(window)) << "the installer window stays usable under the dialog";
    EXPECT_NE(driver::find_descendant(dialog, "Static", "请选择安装位置"), nullptr) << "title above the tree";
    EXPECT_EQ(driver::window_text(edit), "桌面") << "the tree's root is the desktop";
    EXPECT_NE(driver::find_descendant(dialog, "Button", "新建文件夹(&M)"), nullptr) << "new-style dialog";
    press_dialog_button(IDCANCEL);
    EXPECT_TRUE(IsWindowEnabled(window));
}

TEST_F(folder_chooser, cancel_keeps_the_caption) {
    ASSERT_NO_FATAL_FAILURE(open_dialog());
    ASSERT_TRUE(select({named("我的电脑"), drive('C')})) << "a selection that cancel must throw away";
    press_dialog_button(IDCANCEL);
    Sleep(300);
    EXPECT_EQ(caption(), default_directory);
    EXPECT_TRUE(app.running());
}

TEST_F(folder_chooser, chosen_folder_followed_by_the_product_name) {
    const folder_on_c folder("lumvex-pick-" + std::to_string(GetCurrentProcessId()));
    ASSERT_TRUE(folder.created());
    choose({named("我的电脑"), drive('C'), named(folder.name())}, folder.path() + "\\" + product);
}

TEST_F(folder_chooser, drive_root_gives_a_single_backslash) {
    choose({named("我的电脑"), drive('C')}, "C:\\" + product);
}

TEST_F(folder_chooser, each_choice_replaces_the_whole_caption) {
    const folder_on_c first("lumvex-first-" + std::to_string(GetCurrentProcessId()));
    const folder_on_c second("安装位置" + std::to_string(GetCurrentProcessId()));
    ASSERT_TRUE(first.created());
    ASSERT_TRUE(second.created());
    choose({named("我的电脑"), drive('C'), named(first.name())}, first.path() + "\\" + product);
    choose({named("我的电脑"), drive('C'), named(second.name())}, second.path() + "\\" + product);
    choose({named("我的电脑"), drive('C')}, "C:\\" + product);
}

}  // namespace
