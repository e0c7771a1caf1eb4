// The disk operations of ICBSFolderPath.
#include "support/FolderPath.h"

#include "support/FileUtilities_win.h"

bool ICBSFolderPath::Exists() const {
    return valid_ && !IsEmpty() && ICBSFileUtilities::IsFolder(ToString());
}

bool ICBSFolderPath::Create() const {
    if (!valid_ || IsEmpty())
        return false;
    const std::wstring path = ToString();
    ICBSFileUtilities::EnsureParentFolder(path);
    return ICBSFileUtilities::CreateFolder(path, false);
}

bool ICBSFolderPath::Delete() const {
    if (!valid_ || components_.empty())
        return false;
    return ICBSFileUtilities::DeleteTree(ToString());
}

std::vector<std::wstring> ICBSFolderPath::ListFiles(std::wstring_view pattern) const {
    if (!valid_)
        return {};
    return ICBSFileUtilities::ListFiles(ToString(), std::wstring(pattern));
}
