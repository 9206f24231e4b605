// The folder picker and item lists: the real folder dialog picked and
// cancelled, the scripted picker, and converting item lists to paths.
#include "host_test_support.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace zor::host::testing {
namespace {

class FolderPickerTest : public HostTest {
  protected:
    HWND owner_ = nullptr;
    char displayName_[MAX_PATH] = "untouched";
    BROWSEINFOA request_{};

    void SetUp() override
    {
        HostTest::SetUp();
        owner_ = CreateTestWindow("owner");
        ShowWindow(owner_, SW_SHOW);
        request_.hwndOwner = owner_;
        request_.pszDisplayName = displayName_;
        request_.lpszTitle = "Select the folder in which to install ZOR.";
        request_.ulFlags = BIF_RETURNONLYFSDIRS;
    }
};

struct Seen {
    bool seen = false;
    QString title;
    bool directoriesOnly = false;
    bool nonNative = false;
    Qt::WindowModality modality = Qt::NonModal;
    QWidget *parent = nullptr;
};

void DriveFolderDialog(Seen &seen, const QString &pick)
{
    WhenModal([&seen, pick](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (dialog == nullptr)
            return;
        seen.seen = true;
        seen.title = dialog->windowTitle();
        seen.directoriesOnly =
            dialog->fileMode() == QFileDialog::Directory && dialog->testOption(QFileDialog::ShowDirsOnly);
        seen.nonNative = dialog->testOption(QFileDialog::DontUseNativeDialog);
        seen.modality = dialog->windowModality();
        seen.parent = dialog->parentWidget();
        auto *buttons = dialog->findChild<QDialogButtonBox *>();
        if (pick.isEmpty()) {
            QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
            return;
        }
        dialog->setDirectory(pick);
        QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
    });
}

TEST_F(FolderPickerTest, TheRealDialogPickedOnceAndCancelledOnce)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    QString folder = root.path() + QStringLiteral("/Zielordner");
    ASSERT_TRUE(QDir().mkpath(folder));

    Seen seen;
    DriveFolderDialog(seen, folder);
    PIDLIST_ABSOLUTE items = SHBrowseForFolderA(&request_);
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.title, QStringLiteral("Select the folder in which to install ZOR."));
    EXPECT_TRUE(seen.directoriesOnly);
    EXPECT_TRUE(seen.nonNative);
    EXPECT_EQ(seen.modality, Qt::WindowModal);
    EXPECT_EQ(seen.parent, test::WidgetOf(owner_));
    ASSERT_NE(items, nullptr);
    EXPECT_STREQ(displayName_, "Zielordner");
    char path[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDListA(items, path));
    EXPECT_EQ(QString::fromUtf8(path), QDir(folder).canonicalPath());
    CoTaskMemFree(items);

    Seen cancelled;
    DriveFolderDialog(cancelled, QString());
    EXPECT_EQ(SHBrowseForFolderA(&request_), nullptr);
    EXPECT_TRUE(cancelled.seen);
}

TEST_F(FolderPickerTest, AScriptPicksWithoutShowingAnything)
{
    Script script;
    script.folderPicks = {std::string("/home/ana/zor"), std::nullopt, std::string("Network")};
    ScopedScript scoped(script);

    PIDLIST_ABSOLUTE picked = SHBrowseForFolderA(&request_);
    ASSERT_NE(picked, nullptr);
    EXPECT_STREQ(displayName_, "zor");
    char path[MAX_PATH] = "junk";
    EXPECT_TRUE(SHGetPathFromIDListA(picked, path));
    EXPECT_STREQ(path, "/home/ana/zor");
    CoTaskMemFree(picked);

    std::strcpy(displayName_, "kept");
    EXPECT_EQ(SHBrowseForFolderA(&request_), nullptr); // cancelled
    EXPECT_STREQ(displayName_, "kept");

    // An item without a file-system path: a display name but no path.
    PIDLIST_ABSOLUTE network = SHBrowseForFolderA(&request_);
    ASSERT_NE(network, nullptr);
    EXPECT_STREQ(displayName_, "Network");
    std::strcpy(path, "junk");
    EXPECT_FALSE(SHGetPathFromIDListA(network, path));
    EXPECT_STREQ(path, "");
    CoTaskMemFree(network);

    EXPECT_EQ(SHBrowseForFolderA(&request_), nullptr); // picks ran out: cancelled
    ASSERT_EQ(script.folderPickers.size(), 4u);
    EXPECT_EQ(script.folderPickers[0].owner, owner_);
    EXPECT_EQ(script.folderPickers[0].title, "Select the folder in which to install ZOR.");
    EXPECT_EQ(script.folderPickers[0].flags, static_cast<UINT>(BIF_RETURNONLYFSDIRS));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(FolderPickerTest, PathsThatDoNotFit)
{
    Script script;
    std::string fits = "/" + std::string(258, 'a');                              // 259 bytes: fits with the terminator
    std::string tooLong = "/" + std::string(259, 'a');                           // 260 bytes: does not
    std::string name = "/" + std::string(20, 'x') + "/" + std::string(300, 'b'); // display name cut to 259
    script.folderPicks = {fits, tooLong, name};
    ScopedScript scoped(script);

    char path[MAX_PATH];
    PIDLIST_ABSOLUTE items = SHBrowseForFolderA(&request_);
    EXPECT_TRUE(SHGetPathFromIDListA(items, path));
    EXPECT_EQ(std::strlen(path), 259u);
    CoTaskMemFree(items);

    items = SHBrowseForFolderA(&request_);
    EXPECT_FALSE(SHGetPathFromIDListA(items, path));
    EXPECT_STREQ(path, "");
    CoTaskMemFree(items);

    items = SHBrowseForFolderA(&request_);
    EXPECT_EQ(std::strlen(displayName_), 259u);
    CoTaskMemFree(items);
}

TEST_F(FolderPickerTest, FreeingAndConvertingNothing)
{
    CoTaskMemFree(nullptr); // harmless
    char path[MAX_PATH] = "junk";
    EXPECT_FALSE(SHGetPathFromIDListA(nullptr, path));
    EXPECT_STREQ(path, "");
    EXPECT_EQ(SHBrowseForFolderA(nullptr), nullptr);

    Script script;
    script.folderPicks = {std::string("/tmp")};
    ScopedScript scoped(script);
    PIDLIST_ABSOLUTE items = SHBrowseForFolderA(&request_);
    CoTaskMemFree(items);
    std::strcpy(path, "junk");
    EXPECT_FALSE(SHGetPathFromIDListA(items, path)); // freed: no longer an item list
    EXPECT_STREQ(path, "");
}

} // namespace
} // namespace zor::host::testing
