#include "app/Form1.h"

#include "engine/LoggingCaptions.h"
#include "history/HistoryRewrite.h"
#include "platform/RuntimeError.h"

namespace kestrava::app {
namespace {

// The tray icon as the window's design stores it: out of the tray, no tip, the blue V.
tray::cSysTray::StoredProperties DesignedTrayIcon(const Form1View& view) {
    return {.InTray = false, .TrayIcon = view.programIcon(), .TrayTip = {}};
}

}  // namespace

Form1::Form1(Form1View& view, platform::Services& services)
    : cSysTray1(services.notifyArea, services.events, services.clock, DesignedTrayIcon(view)),
      view_(view),
      services_(services),
      settings_(services.settingsBackend),
      errorReport_(services.dialogs),
      snapshotTools_(services.fileSystem, services.events, services.clock, services.locale,
                     services.dialogs),
      snapshotRows_(snapshotTools_),
      snapshots_(snapshotTools_) {
    snapshotTools_.switchInWaitingCutLog = [&fileSystem =
                                                services.fileSystem](const std::string& logPath) {
        return history::SwitchInWaitingCutLog(fileSystem, logPath);
    };
    ApplyDesign();
    cSysTray1.MouseUp = [this](std::int16_t button, std::int32_t iconId) {
        cSysTray1_MouseUp(button, iconId);
    };
}

// The view outlives the window's rows.
Form1::~Form1() {
    view_.showSnapshotRows(nullptr);
}

// The controls as the design leaves them: placed, in their fonts, with their
// design-time captions; the timer not ticking, the bar empty.
void Form1::ApplyDesign() {
    for (const ControlDesign& design : Form1Controls) {
        view_.place(design.control, design.place);
        view_.setControlFont(design.control, design.font);
        if (design.kind == ControlKind::ProgressBar) {
            view_.setProgressText(std::string(design.caption));
        } else if (!design.caption.empty()) {
            view_.setCaption(design.control, std::string(design.caption));
        }
    }
    view_.setProgressValue(0);
    view_.setTimerInterval(0);
    view_.showSnapshotRows(&snapshotRows_);
}

engine::SnapshotJob Form1::SnapshotOfTheFolderBox() {
    return {view_.folderText(), HistoryLogPath, snapshotRows_};
}

void Form1::Text1_Change() {
    settings_.write(settings::Setting::Text1, view_.folderText());
}

void Form1::Check8_Click() {
    settings_.write(settings::Setting::Minimized,
                    view_.isChecked(Control::Check8) ? settings::On : settings::Off);
}

// Automatic logging's view of the window.

std::string Form1::switchCaption() const {
    return view_.caption(Control::PushButton5);
}

void Form1::setSwitchCaption(const std::string& caption) {
    view_.setCaption(Control::PushButton5, caption);
}

int Form1::timerInterval() const {
    return view_.timerInterval();
}

void Form1::setTimerInterval(int milliseconds) {
    view_.setTimerInterval(milliseconds);
}

void Form1::setTimerEnabled(bool enabled) {
    view_.setTimerEnabled(enabled);
}

void Form1::setStatusLine(const std::string& caption) {
    view_.setCaption(Control::Frame1, caption);
}

// A bar whose maximum is not above its minimum has no range to show.
void Form1::setProgressMaximum(int maximum) {
    if (maximum <= 0) {
        throw platform::RuntimeError(platform::error_number::InvalidPropertyValue);
    }
    view_.setProgressMaximum(maximum);
}

void Form1::setProgressValue(int value) {
    view_.setProgressValue(value);
}

void Form1::setProgressText(const std::string& text) {
    view_.setProgressText(text);
}

std::optional<int> Form1::selectedIntervalRow() const {
    return view_.selectedListRow(Control::ListView2);
}

std::optional<std::string> Form1::selectedIntervalCaption() const {
    const auto row = selectedIntervalRow();
    if (!row) {
        return std::nullopt;
    }
    return view_.listRowText(Control::ListView2, *row);
}

// The busy pointer stays up while any manual snapshot asked for is still to be taken.
void Form1::showBusyPointer(bool busy) {
    busyRequests_ += busy ? 1 : -1;
    SetMousePointer(busyRequests_ > 0 ? commands::MousePointer::Hourglass
                                      : commands::MousePointer::Default);
}

void Form1::SetMousePointer(commands::MousePointer pointer) {
    if (pointer != mousePointer_) {
        mousePointer_ = pointer;
        view_.setMousePointer(pointer);
    }
}

}  // namespace kestrava::app
