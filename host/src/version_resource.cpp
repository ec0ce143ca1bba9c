#include "version_resource.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "resources.h"

struct HostResource {
    std::vector<unsigned char> data;
};

namespace {

const WCHAR kVersionKey[] = L"VS_VERSION_INFO";

// Version blocks already built, by module; kept while the process runs, as a
// loaded module's resources are on Windows.
std::mutex blocksLock;
std::map<HMODULE, std::unique_ptr<HostResource>>& Blocks() {
    static std::map<HMODULE, std::unique_ptr<HostResource>> blocks;
    return blocks;
}

void PutWord(std::vector<unsigned char>& out, size_t at, WORD w) {
    std::memcpy(out.data() + at, &w, sizeof w);
}

std::unique_ptr<HostResource> BuildVersionBlock(const ModuleResources& res) {
    const size_t header = 3 * sizeof(WORD);
    const size_t fixedAt = (header + sizeof kVersionKey + 3) / 4 * 4;
    auto block = std::make_unique<HostResource>();
    block->data.assign(fixedAt + sizeof(VS_FIXEDFILEINFO), 0);
    PutWord(block->data, 0, static_cast<WORD>(block->data.size()));
    PutWord(block->data, 2, static_cast<WORD>(sizeof(VS_FIXEDFILEINFO)));
    PutWord(block->data, 4, 0);
    std::memcpy(block->data.data() + header, kVersionKey, sizeof kVersionKey);
    VS_FIXEDFILEINFO info{};
    info.dwSignature = VS_FFI_SIGNATURE;
    info.dwStrucVersion = VS_FFI_STRUCVERSION;
    const int* v = res.fileVersion;
    info.dwFileVersionMS =
        (static_cast<DWORD>(v[0] & 0xFFFF) << 16) | static_cast<DWORD>(v[1] & 0xFFFF);
    info.dwFileVersionLS =
        (static_cast<DWORD>(v[2] & 0xFFFF) << 16) | static_cast<DWORD>(v[3] & 0xFFFF);
    info.dwProductVersionMS = info.dwFileVersionMS;
    info.dwProductVersionLS = info.dwFileVersionLS;
    std::memcpy(block->data.data() + fixedAt, &info, sizeof info);
    return block;
}

bool IsId(LPCWSTR name, WORD id) {
    return reinterpret_cast<std::uintptr_t>(name) == id;
}

}  // namespace

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
    const ModuleResources* res = GetModuleResources(module);
    if (!res || !res->hasVersion || !IsId(name, VS_VERSION_INFO) || type != RT_VERSION) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    std::lock_guard<std::mutex> guard(blocksLock);
    std::unique_ptr<HostResource>& block = Blocks()[module];
    if (!block)
        block = BuildVersionBlock(*res);
    return block.get();
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    return resource ? resource->data.data() : nullptr;
}

LPVOID LockResource(HGLOBAL data) {
    return data;
}

DWORD SizeofResource(HMODULE, HRSRC resource) {
    return resource ? static_cast<DWORD>(resource->data.size()) : 0;
}
