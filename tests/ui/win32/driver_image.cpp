// The driver's checks of the executable itself, read as a file: its version
// resource, and its machine, subsystem and imports from the PE headers.
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "ui/win32/driver_checks.h"
#include "ui/win32/win32_text.h"

namespace {

// The names of the DLLs an executable imports, read from its PE headers.
std::vector<std::string> importsOf(const wchar_t *path, WORD &machine, WORD &subsystem) {
    std::vector<std::string> names;
    HANDLE file =
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return names;
    }
    std::vector<unsigned char> image(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, image.data(), static_cast<DWORD>(image.size()), &read, nullptr);
    CloseHandle(file);
    const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(image.data());
    // The program is built for the driver's own width.
    const auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(image.data() + dos->e_lfanew);
    machine = nt->FileHeader.Machine;
    subsystem = nt->OptionalHeader.Subsystem;
    const auto *sections = IMAGE_FIRST_SECTION(nt);
    auto offsetOf = [&](DWORD rva) -> DWORD {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const auto &section = sections[i];
            if (rva >= section.VirtualAddress &&
                rva < section.VirtualAddress + section.Misc.VirtualSize) {
                return rva - section.VirtualAddress + section.PointerToRawData;
            }
        }
        return 0;
    };
    const DWORD importRva =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto *entry =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(image.data() + offsetOf(importRva));
         entry->Name != 0; ++entry) {
        names.emplace_back(reinterpret_cast<const char *>(image.data() + offsetOf(entry->Name)));
    }
    return names;
}

}  // namespace

void checkImage(const wchar_t *path) {
    WORD machine = 0;
    WORD subsystem = 0;
    const std::vector<std::string> imports = importsOf(path, machine, subsystem);
    check(machine == (sizeof(void *) == 4 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64),
          sizeof(void *) == 4 ? "a 32-bit x86 executable" : "a 64-bit x86 executable");
    check(subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI, "a Windows GUI executable");
    const std::set<std::string> system = {"ADVAPI32.DLL", "COMCTL32.DLL", "GDI32.DLL",
                                          "KERNEL32.DLL", "MSVCRT.DLL",   "OLE32.DLL",
                                          "OLEACC.DLL",   "USER32.DLL",   "WINMM.DLL"};
    std::string list;
    bool onlySystem = !imports.empty();
    for (std::string name : imports) {
        for (char &c : name) {
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        }
        onlySystem = onlySystem && system.count(name) == 1;
        list += " " + name;
    }
    check(onlySystem, "imports only DLLs that come with Windows:" + list);
}

void checkVersion(const wchar_t *path) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoW(path, 0, size, data.data())) {
        check(false, "the executable carries a version resource");
        return;
    }
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    VerQueryValueW(data.data(), L"\\", reinterpret_cast<void **>(&fixed), &length);
    constexpr DWORD kMs = (TALLARO_VERSION_MAJOR << 16) | TALLARO_VERSION_MINOR;
    constexpr DWORD kLs = (TALLARO_VERSION_PATCH << 16) | TALLARO_VERSION_TWEAK;
    check(fixed != nullptr && fixed->dwFileVersionMS == kMs && fixed->dwFileVersionLS == kLs &&
              fixed->dwProductVersionMS == kMs && fixed->dwProductVersionLS == kLs,
          "file and product version " TALLARO_VERSION);
    WORD *translation = nullptr;
    VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                   reinterpret_cast<void **>(&translation), &length);
    check(translation != nullptr && translation[0] == 0x0407 && translation[1] == 1252,
          "language German (Germany), code page 1252");
    for (const wchar_t *name : {L"FileVersion", L"ProductVersion"}) {
        wchar_t *text = nullptr;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040704E4\\") + name;
        VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void **>(&text), &length);
        const std::string shown = text != nullptr ? toUtf8(text) : "none";
        check(shown == TALLARO_VERSION_TEXT,
              toUtf8(name) + " text \"" TALLARO_VERSION_TEXT "\" (reads \"" + shown + "\")");
    }
}

void checkManifest(const wchar_t *path) {
    HMODULE image = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = image != nullptr ? FindResourceW(image, MAKEINTRESOURCEW(1),
                                                   MAKEINTRESOURCEW(24))  // RT_MANIFEST
                                   : nullptr;
    HGLOBAL loaded = found != nullptr ? LoadResource(image, found) : nullptr;
    const char *bytes = loaded != nullptr ? static_cast<const char *>(LockResource(loaded)) : "";
    std::string manifest(bytes, found != nullptr ? SizeofResource(image, found) : 0);
    // Attributes as the manifest writes them, whatever the spaces between.
    std::string flat;
    for (char c : manifest) {
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t') {
            flat += c;
        }
    }
    check(flat.find("name=\"Microsoft.Windows.Common-Controls\"version=\"6.0.0.0\"") !=
              std::string::npos,
          "the manifest asks for common controls 6");
    check(flat.find(">true/pm</dpiAware>") != std::string::npos &&
              flat.find(">PerMonitorV2,PerMonitor</dpiAwareness>") != std::string::npos,
          "the manifest declares the program aware of each monitor's DPI");
    if (image != nullptr) {
        FreeLibrary(image);
    }
}
