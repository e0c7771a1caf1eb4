#include "installer/TransformPlan.h"

namespace TransformPlan {

TransformReference ParseTransformReference(const std::wstring& reference) {
    if (reference.empty())
        return {};
    if (reference.front() == L':')
        return {TransformReference::Kind::Embedded, reference.substr(1)};
    // "@" and "|" mark secure transforms; the marker is not part of the path.
    if (reference.front() == L'@' || reference.front() == L'|')
        return {TransformReference::Kind::File, reference.substr(1)};
    return {TransformReference::Kind::File, reference};
}

std::vector<std::wstring> SplitTransformList(const std::wstring& list) {
    std::vector<std::wstring> references;
    size_t start = 0;
    for (;;) {
        const size_t end = list.find(L';', start);
        references.push_back(
            list.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos)
            return references;
        start = end + 1;
    }
}

std::wstring FolderWithSeparator(const std::wstring& folder) {
    if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        return folder;
    return folder + L"\\";
}

std::optional<ParameterBinding> BindParameters(const std::wstring& format,
                                               const std::vector<QueryParameter>& args) {
    ParameterBinding binding;
    binding.recordFields = static_cast<unsigned>(format.size() / 2);
    size_t next = 0;
    for (size_t i = 0; i + 1 < format.size(); ++i) {
        if (format[i] != L'%' || (format[i + 1] != L's' && format[i + 1] != L'd'))
            continue;
        const bool wantsText = format[i + 1] == L's';
        ++i;
        if (next >= args.size())
            return std::nullopt;
        const QueryParameter& arg = args[next];
        if (wantsText != std::holds_alternative<std::wstring>(arg))
            return std::nullopt;
        const unsigned field = static_cast<unsigned>(binding.fields.size() + 1);
        if (field > binding.recordFields)
            return std::nullopt;
        binding.fields.push_back({field, arg});
        ++next;
    }
    return binding;
}

std::wstring SourceFileName(const std::wstring& fileName) {
    const size_t bar = fileName.find(L'|');
    return bar == std::wstring::npos ? fileName : fileName.substr(bar + 1);
}

bool IsPlainFileName(const std::wstring& name) {
    if (name.empty() || name == L"." || name == L"..")
        return false;
    return name.find_first_of(L"\\/:") == std::wstring::npos;
}

InsertedFileCopy DecideInsertedFileCopy(int attributes, const std::wstring& fileName, int sequence,
                                        const std::vector<MediaRow>& media) {
    using Kind = InsertedFileCopy::Kind;
    if (attributes & kFileAttributeNonCompressed) {
        const std::wstring name = SourceFileName(fileName);
        return IsPlainFileName(name) ? InsertedFileCopy{Kind::SourceFile, name} : InsertedFileCopy{};
    }
    if (!(attributes & kFileAttributeCompressed))
        return {};
    // The file lies on the disk with the smallest LastSequence that still covers its Sequence, whatever
    // order the Media rows come in.
    const MediaRow* disk = nullptr;
    for (const MediaRow& row : media)
        if (row.lastSequence >= sequence && (!disk || row.lastSequence < disk->lastSequence))
            disk = &row;
    if (!disk)
        return {};
    if (!disk->cabinet.empty() && disk->cabinet.front() == L'#')
        return {Kind::Nothing, disk->cabinet.substr(1)};
    return IsPlainFileName(disk->cabinet) ? InsertedFileCopy{Kind::Cabinet, disk->cabinet}
                                          : InsertedFileCopy{};
}

} // namespace TransformPlan
