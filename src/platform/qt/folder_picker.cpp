// SHELL32: the folder picker and the item lists it returns.

#include "app_instance.h"
#include "host_state.h"
#include "item_list.h"
#include "mapping/utf8_text.h"

#include "src/platform/host_script.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <cstring>
#include <memory>
#include <unordered_map>

namespace zor::host {
namespace {

std::unordered_map<const void *, std::unique_ptr<ITEMIDLIST>> &LiveItems()
{
    static auto *items = new std::unordered_map<const void *, std::unique_ptr<ITEMIDLIST>>;
    return *items;
}

} // namespace

ITEMIDLIST *NewItemList(const std::string &pick)
{
    auto item = std::make_unique<ITEMIDLIST>();
    if (!pick.empty() && pick.front() == '/') {
        QString path = QDir::cleanPath(QString::fromUtf8(pick.c_str()));
        item->fileSystem = true;
        item->path = path.toStdString();
        QString name = QFileInfo(path).fileName();
        item->displayName = name.isEmpty() ? item->path : name.toStdString();
    } else {
        item->displayName = pick;
    }
    ITEMIDLIST *pointer = item.get();
    LiveItems()[pointer] = std::move(item);
    return pointer;
}

const ITEMIDLIST *LiveItemList(const void *pointer)
{
    auto found = LiveItems().find(pointer);
    return found == LiveItems().end() ? nullptr : found->second.get();
}

bool FreeItemList(void *pointer)
{
    return LiveItems().erase(pointer) != 0;
}

void ClearItemLists()
{
    LiveItems().clear();
}

namespace {

PIDLIST_ABSOLUTE Picked(const std::string &pick, LPSTR displayName)
{
    ITEMIDLIST *item = NewItemList(pick);
    if (displayName != nullptr)
        CopyUtf8Cut(displayName, MAX_PATH, item->displayName);
    return item;
}

} // namespace
} // namespace zor::host

using namespace zor::host;

extern "C" PIDLIST_ABSOLUTE WINAPI SHBrowseForFolderA(LPBROWSEINFOA lpbi)
{
    if (lpbi == nullptr)
        return nullptr;
    std::string title = lpbi->lpszTitle == nullptr ? std::string() : std::string(lpbi->lpszTitle);
    lpbi->iImage = 0;
    if (Script *script = CurrentScript()) {
        script->folderPickers.push_back(FolderPickerCall{lpbi->hwndOwner, title, lpbi->ulFlags});
        std::optional<std::string> pick;
        if (!script->folderPicks.empty()) {
            pick = script->folderPicks.front();
            script->folderPicks.pop_front();
        }
        return pick ? Picked(*pick, lpbi->pszDisplayName) : nullptr;
    }

    std::string why;
    if (EnsureApplication(&why) == nullptr) {
        ReportFailure("SHBrowseForFolderA", "cannot show the folder picker: " + why);
        return nullptr;
    }
    QWidget *owner = WidgetOfWindow(lpbi->hwndOwner);
    if (owner != nullptr)
        owner = owner->window();

    // The toolkit's own folder dialog (not the desktop's), so that it behaves
    // the same everywhere and tests can drive it. It only ever picks
    // file-system folders.
    QString start = QDir::homePath();
    if (const ITEMIDLIST *root = LiveItemList(lpbi->pidlRoot); root != nullptr && root->fileSystem)
        start = QString::fromStdString(root->path);
    QFileDialog dialog(owner, QString::fromUtf8(title.c_str()), start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    dialog.setWindowModality(owner != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return nullptr;
    QString path = QFileInfo(dialog.selectedFiles().first()).absoluteFilePath();
    return Picked(path.toStdString(), lpbi->pszDisplayName);
}

extern "C" BOOL WINAPI SHGetPathFromIDListA(PCIDLIST_ABSOLUTE pidl, LPSTR pszPath)
{
    if (pszPath == nullptr)
        return FALSE;
    const ITEMIDLIST *item = LiveItemList(pidl);
    if (item == nullptr || !item->fileSystem || item->path.size() > MAX_PATH - 1) {
        pszPath[0] = '\0';
        return FALSE;
    }
    std::memcpy(pszPath, item->path.c_str(), item->path.size() + 1);
    return TRUE;
}
