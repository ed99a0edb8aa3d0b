#include "platform/qt/QtClipboard.h"

#include <sys/sysinfo.h>

#include <QClipboard>
#include <QGuiApplication>
#include <new>

#include "platform/RuntimeError.h"

namespace kestrava::platform {
namespace {

// The program's text, Qt's two-byte copy of it and the copy handed to the desktop.
constexpr std::uint64_t BytesHeldPerTextByte = 1 + 2 + 1;

// All the memory the machine has, swap included: beyond it nothing can be held.
std::uint64_t MachineMemory() {
    struct sysinfo machine {};
    if (::sysinfo(&machine) != 0) {
        return UINT64_MAX;
    }
    return (std::uint64_t{machine.totalram} + machine.totalswap) * machine.mem_unit;
}

}  // namespace

bool QtClipboard::canHold(std::uint64_t textBytes) const {
    return textBytes <= MachineMemory() / BytesHeldPerTextByte;
}

void QtClipboard::putText(const std::string& text) {
    try {
        // Bytes that are not a valid character become U+FFFD here: the clipboard is
        // read by other programs, which want valid text.
        QGuiApplication::clipboard()->setText(
            QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
    } catch (const std::bad_alloc&) {
        throw RuntimeError(error_number::OutOfMemory);
    }
}

}  // namespace kestrava::platform
