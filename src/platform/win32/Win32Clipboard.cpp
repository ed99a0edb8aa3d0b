#include "platform/win32/Win32Clipboard.h"

#include <climits>

#include "platform/RuntimeError.h"

namespace kestrava::platform {
namespace {

// The program's text and the clipboard's UTF-16 copy, which takes two bytes where a
// character takes one byte of UTF-8, fewer per byte where it takes more.
constexpr std::uint64_t BytesHeldPerTextByte = 1 + 2;

// Another program may hold the clipboard open for a moment.
constexpr int OpenAttempts = 10;
constexpr DWORD OpenRetryMilliseconds = 20;

// Owns a global memory block until the clipboard takes it over.
class GlobalBlock {
public:
    explicit GlobalBlock(std::size_t bytes) : block_(::GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
    ~GlobalBlock() {
        if (block_ != nullptr) {
            ::GlobalFree(block_);
        }
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;

    HGLOBAL get() const { return block_; }
    void handOver() { block_ = nullptr; }

private:
    HGLOBAL block_;
};

class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) {
        for (int attempt = 0; attempt < OpenAttempts && !open_; ++attempt) {
            open_ = ::OpenClipboard(owner);
            if (!open_) {
                ::Sleep(OpenRetryMilliseconds);
            }
        }
    }
    ~OpenClipboardScope() {
        if (open_) {
            ::CloseClipboard();
        }
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

    bool isOpen() const { return open_; }

private:
    bool open_ = false;
};

}  // namespace

Win32Clipboard::Win32Clipboard()
    : owner_(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr)) {}

Win32Clipboard::~Win32Clipboard() {
    if (owner_ != nullptr) {
        ::DestroyWindow(owner_);
    }
}

// The commit limit already counts physical memory and the page file together.
bool Win32Clipboard::canHold(std::uint64_t textBytes) const {
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    if (!::GlobalMemoryStatusEx(&memory)) {
        return true;
    }
    return textBytes <= memory.ullTotalPageFile / BytesHeldPerTextByte;
}

void Win32Clipboard::putText(const std::string& text) {
    if (text.size() > INT_MAX) {
        throw RuntimeError(error_number::OutOfMemory);
    }
    const int length = static_cast<int>(text.size());
    // Bytes that are no valid character become U+FFFD: other programs want valid text.
    const int units =
        text.empty() ? 0 : ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    GlobalBlock block((static_cast<std::size_t>(units) + 1) * sizeof(wchar_t));
    if (block.get() == nullptr) {
        throw RuntimeError(error_number::OutOfMemory);
    }
    auto* copy = static_cast<wchar_t*>(::GlobalLock(block.get()));
    if (copy == nullptr) {
        throw RuntimeError(error_number::OutOfMemory);
    }
    if (units > 0) {
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, copy, units);
    }
    copy[units] = L'\0';
    ::GlobalUnlock(block.get());

    const OpenClipboardScope clipboard(owner_);
    if (!clipboard.isOpen()) {
        throw RuntimeError(error_number::CantOpenClipboard);
    }
    ::EmptyClipboard();
    if (::SetClipboardData(CF_UNICODETEXT, block.get()) == nullptr) {
        throw RuntimeError(error_number::OutOfMemory);
    }
    block.handOver();
}

}  // namespace kestrava::platform
