// bottles.exe as a file: a 32-bit x86 GUI program needing Windows' own DLLs
// only, with ASLR and DEP, and its resources as Windows reads them: the
// version record, the icon (pixel for pixel the drawing) and the manifest.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/win32/icon_xpm.h"
#include "tools/xpm.h"

namespace {

std::filesystem::path Exe() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path() / BOTTLES_EXE_FROM_TESTS;
}

std::vector<unsigned char> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The headers of a PE file, and its bytes at a relative virtual address.
class PeFile {
 public:
  explicit PeFile(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {
    if (bytes_.size() < sizeof(IMAGE_DOS_HEADER)) return;
    const auto* dos = At<IMAGE_DOS_HEADER>(0);
    if (dos == nullptr || dos->e_magic != IMAGE_DOS_SIGNATURE) return;
    nt_ = At<IMAGE_NT_HEADERS32>(static_cast<std::size_t>(dos->e_lfanew));
    if (nt_ == nullptr || nt_->Signature != IMAGE_NT_SIGNATURE) {
      nt_ = nullptr;
      return;
    }
    const std::size_t sections = static_cast<std::size_t>(dos->e_lfanew) + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                                 nt_->FileHeader.SizeOfOptionalHeader;
    for (WORD i = 0; i < nt_->FileHeader.NumberOfSections; ++i) {
      if (const auto* s = At<IMAGE_SECTION_HEADER>(sections + i * sizeof(IMAGE_SECTION_HEADER))) {
        sections_.push_back(*s);
      }
    }
  }

  const IMAGE_NT_HEADERS32* Nt() const { return nt_; }

  template <class T>
  const T* At(std::size_t offset) const {
    if (offset + sizeof(T) > bytes_.size()) return nullptr;
    return reinterpret_cast<const T*>(bytes_.data() + offset);
  }

  std::size_t OffsetOf(DWORD rva) const {
    for (const auto& s : sections_) {
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData)) {
        return rva - s.VirtualAddress + s.PointerToRawData;
      }
    }
    return bytes_.size();
  }

  std::string StringAt(DWORD rva) const {
    std::string text;
    for (std::size_t i = OffsetOf(rva); i < bytes_.size() && bytes_[i] != 0; ++i) {
      text.push_back(static_cast<char>(bytes_[i]));
    }
    return text;
  }

  std::vector<std::string> Imports() const {
    std::vector<std::string> names;
    const auto& directory = nt_->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (std::size_t at = OffsetOf(directory.VirtualAddress);; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
      const auto* entry = At<IMAGE_IMPORT_DESCRIPTOR>(at);
      if (entry == nullptr || entry->Name == 0) break;
      names.push_back(StringAt(entry->Name));
    }
    return names;
  }

 private:
  std::vector<unsigned char> bytes_;
  const IMAGE_NT_HEADERS32* nt_ = nullptr;
  std::vector<IMAGE_SECTION_HEADER> sections_;
};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

TEST(ExeTest, APe32GuiProgramForX86WithAslrAndDep) {
  const PeFile pe(ReadAll(Exe()));
  ASSERT_NE(pe.Nt(), nullptr) << Exe().string();
  EXPECT_EQ(pe.Nt()->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
  EXPECT_EQ(pe.Nt()->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
  EXPECT_EQ(pe.Nt()->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
  EXPECT_TRUE(pe.Nt()->FileHeader.Characteristics & IMAGE_FILE_EXECUTABLE_IMAGE);
  const WORD dll = pe.Nt()->OptionalHeader.DllCharacteristics;
  EXPECT_TRUE(dll & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE);
  EXPECT_TRUE(dll & IMAGE_DLLCHARACTERISTICS_NX_COMPAT);
  // ASLR can only move an image that keeps its relocations.
  EXPECT_GT(pe.Nt()->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size, 0u);
  EXPECT_FALSE(pe.Nt()->FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED);
}

TEST(ExeTest, ItNeedsWindowsOwnDllsOnly) {
  const PeFile pe(ReadAll(Exe()));
  ASSERT_NE(pe.Nt(), nullptr);
  const std::vector<std::string> imports = pe.Imports();
  ASSERT_FALSE(imports.empty());
  // ole32, oleacc and oleaut32, which hand the controls' accessible objects
  // to screen readers, are Windows' own too, but loaded only when one asks
  // (below).
  const std::vector<std::string> system = {"kernel32.dll", "user32.dll",   "gdi32.dll",   "msvcrt.dll",
                                           "comctl32.dll", "advapi32.dll", "shell32.dll", "version.dll",
                                           "ole32.dll",    "oleacc.dll",   "oleaut32.dll"};
  wchar_t directory[MAX_PATH] = {};
  ASSERT_GT(GetSystemDirectoryW(directory, MAX_PATH), 0u);
  for (const std::string& name : imports) {
    EXPECT_NE(std::find(system.begin(), system.end(), Lower(name)), system.end()) << name;
    EXPECT_NE(Lower(name).rfind("lib", 0), 0u) << name;  // libstdc++, libgcc, libwinpthread
    const std::filesystem::path in_system = std::filesystem::path(directory) / name;
    EXPECT_NE(GetFileAttributesW(in_system.c_str()), INVALID_FILE_ATTRIBUTES) << name;
  }
}

// Loading them took a fifth of the start-up under Wine, for a screen reader
// that is seldom there.
TEST(ExeTest, TheScreenReaderDllsAreNotLoadedAtTheStart) {
  const PeFile pe(ReadAll(Exe()));
  ASSERT_NE(pe.Nt(), nullptr);
  const std::vector<std::string> imports = pe.Imports();
  ASSERT_FALSE(imports.empty());
  for (const std::string& name : imports) {
    EXPECT_NE(Lower(name), "oleacc.dll");
    EXPECT_NE(Lower(name), "oleaut32.dll");
    EXPECT_NE(Lower(name), "ole32.dll");
  }
}

// One value of the version record's string table.
std::wstring VersionString(const std::vector<char>& record, const wchar_t* name) {
  const std::wstring key = std::wstring(L"\\StringFileInfo\\040204B0\\") + name;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(record.data(), key.c_str(), &value, &length) || value == nullptr) return L"<missing>";
  return std::wstring(static_cast<const wchar_t*>(value));
}

TEST(ExeTest, TheVersionRecordReadsOneHundredth) {
  const std::wstring exe = Exe().wstring();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> record(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, record.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                             &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0402);  // Bulgarian
  EXPECT_EQ(translation[1], 1200);    // UTF-16

  EXPECT_EQ(VersionString(record, L"FileVersion"), L"1.00");
  EXPECT_EQ(VersionString(record, L"ProductVersion"), L"1.00");
  EXPECT_EQ(VersionString(record, L"ProductName"), L"bottles");
  EXPECT_EQ(VersionString(record, L"FileDescription"), L"Бутилки - логическа задача");
}

class Resources : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExW(Exe().wstring().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  HMODULE module_ = nullptr;
};

// The pixels of a bitmap, top row first, as 0x00RRGGBB.
std::vector<std::uint32_t> Pixels(HBITMAP bitmap, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
  HDC dc = GetDC(nullptr);
  const int rows = GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(rows, height);
  for (auto& p : pixels) p &= 0xFFFFFFu;
  return pixels;
}

TEST_F(Resources, TheIconIsTheDrawing) {
  ASSERT_NE(FindResourceW(module_, MAKEINTRESOURCEW(1), RT_GROUP_ICON), nullptr);
  const xpm::Xpm drawing = xpm::ParseXpm(kIconXpm);
  ASSERT_EQ(drawing.width, 32);
  auto* icon = static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
  ASSERT_NE(icon, nullptr);
  ICONINFO parts{};
  ASSERT_TRUE(GetIconInfo(icon, &parts));
  ASSERT_NE(parts.hbmColor, nullptr);
  const std::vector<std::uint32_t> colour = Pixels(parts.hbmColor, 32, 32);
  const std::vector<std::uint32_t> mask = Pixels(parts.hbmMask, 32, 32);
  int transparent = 0;
  int mismatches = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const auto at = static_cast<std::size_t>(y * 32 + x);
      const xpm::Colour& want = drawing.At(x, y);
      const bool see_through = mask[at] != 0;
      transparent += see_through ? 1 : 0;
      const std::uint32_t rgb = static_cast<std::uint32_t>(want.red) << 16 |
                                static_cast<std::uint32_t>(want.green) << 8 | want.blue;
      if (see_through != want.transparent || (!want.transparent && colour[at] != rgb)) {
        if (++mismatches <= 5) ADD_FAILURE() << "pixel " << x << "," << y;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(transparent, 0);    // the background shows through
  EXPECT_LT(transparent, 1024);  // and the drawing does not
  DeleteObject(parts.hbmColor);
  DeleteObject(parts.hbmMask);
  DestroyIcon(icon);
}

TEST_F(Resources, TheManifestAsksForPerMonitorDpi) {
  HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(found, nullptr);
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(module_, found)));
  ASSERT_NE(bytes, nullptr);
  const std::string manifest(bytes, SizeofResource(module_, found));
  EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
  EXPECT_NE(manifest.find(">PerMonitorV2,PerMonitor</dpiAwareness>"), std::string::npos);
}

}  // namespace
