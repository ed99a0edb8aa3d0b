#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/Form1.h"
#include "app/Form1View.h"
#include "fakes/FakePicture.h"
#include "platform/RuntimeError.h"

namespace kestrava::fakes {

// The main window's controls as plain values: what Form1 sets can be read back, and a
// test acts as the user would, through the same handlers a real view calls. A change
// of a check box's value or of the folder box's text raises its handler, as in a real
// window; nothing else raises anything by itself.
class FakeForm1View : public app::Form1View {
public:
    using Control = app::Control;
    using WindowState = commands::WindowState;

    struct List {
        std::vector<std::string> columns;
        std::vector<int> widthsTwips;
        std::vector<std::string> rows;
        std::optional<int> selected;
    };

    void attach(app::Form1& form) { form_ = &form; }

    // As the user does it.
    void click(Control control) {
        using app::Form1;
        static const std::map<Control, void (Form1::*)()> handlers{
            {Control::PushButton1, &Form1::PushButton1_Click},
            {Control::PushButton2, &Form1::PushButton2_Click},
            {Control::PushButton3, &Form1::PushButton3_Click},
            {Control::PushButton5, &Form1::PushButton5_Click},
            {Control::PushButton6, &Form1::PushButton6_Click},
            {Control::PushButton11, &Form1::PushButton11_Click},
            {Control::PushButton12, &Form1::PushButton12_Click},
        };
        if (const auto handler = handlers.find(control); handler != handlers.end()) {
            (form_->*handler->second)();
        } else if (control == Control::Check4 || control == Control::Check8) {
            setChecked(control, !isChecked(control));
        }
    }
    // A click on the interval list: on a row, or on the empty space below the rows.
    void clickInterval(std::optional<int> row) {
        if (row) {
            lists[Control::ListView2].selected = row;
        }
        form_->ListView2_Click();
    }
    // Each keystroke changes the box's text.
    void type(const std::string& text) {
        for (const char c : text) {
            setFolderText(folder + c);
        }
    }
    // As the window manager minimises the window: the state changes, and the window's
    // resize handling runs.
    void minimise() {
        state = WindowState::Minimized;
        form_->Form_Resize();
    }
    // As the window's close button does: the close is never refused.
    void close() {
        form_->Form_QueryUnload();
        form_->Form_Unload();
    }
    void tickIfTicking() {
        if (ticking()) {
            form_->Timer1_Timer();
        }
    }
    void runWhatWasSoon() {
        for (auto& work : std::exchange(soon, {})) {
            work();
        }
    }

    bool ticking() const { return enabled && interval > 0; }

    // app::Form1View
    void place(Control control, const app::TwipsRect& rect) override { places[control] = rect; }
    void setControlFont(Control control, const app::FontDesign& font) override {
        fonts.insert_or_assign(control, font);
    }
    std::string caption(Control control) const override {
        const auto found = captions.find(control);
        return found == captions.end() ? std::string() : found->second;
    }
    void setCaption(Control control, const std::string& text) override { captions[control] = text; }
    bool isControlVisible(Control control) const override { return !hidden.contains(control); }
    void setControlVisible(Control control, bool visible) override {
        if (visible) {
            hidden.erase(control);
        } else {
            hidden.insert(control);
        }
    }
    bool isChecked(Control box) const override {
        const auto found = checked.find(box);
        return found != checked.end() && found->second;
    }
    void setChecked(Control box, bool value) override {
        if (isChecked(box) == value) {
            return;
        }
        checked[box] = value;
        box == Control::Check4 ? form_->Check4_Click() : form_->Check8_Click();
    }
    std::string folderText() const override { return folder; }
    void setFolderText(const std::string& text) override {
        if (text != folder) {
            folder = text;
            form_->Text1_Change();
        }
    }
    void setProgressMaximum(int maximum) override { progressMaximum = maximum; }
    void setProgressValue(int value) override { progressValue = value; }
    void setProgressText(const std::string& text) override { progressText = text; }
    void addListColumn(Control list, const std::string& caption) override {
        lists[list].columns.push_back(caption);
    }
    void setListColumnWidth(Control list, int column, int widthTwips) override {
        auto& widths = lists[list].widthsTwips;
        widths.resize(std::max<std::size_t>(widths.size(), static_cast<std::size_t>(column) + 1));
        widths[static_cast<std::size_t>(column)] = widthTwips;
    }
    void addListRow(Control list, const std::string& text) override {
        lists[list].rows.push_back(text);
    }
    int listRowCount(Control list) const override {
        const auto found = lists.find(list);
        return found == lists.end() ? 0 : static_cast<int>(found->second.rows.size());
    }
    std::string listRowText(Control list, int row) const override {
        return lists.at(list).rows.at(static_cast<std::size_t>(row - 1));
    }
    void selectListRow(Control list, int row) override { lists[list].selected = row; }
    std::optional<int> selectedListRow(Control list) const override {
        const auto found = lists.find(list);
        return found == lists.end() ? std::nullopt : found->second.selected;
    }
    void showSnapshotRows(engine::SnapshotRows* rows) override { snapshotRows = rows; }
    int timerInterval() const override { return interval; }
    void setTimerInterval(int milliseconds) override { interval = milliseconds; }
    bool timerEnabled() const override { return enabled; }
    void setTimerEnabled(bool value) override { enabled = value; }
    void setMousePointer(commands::MousePointer value) override { pointer = value; }
    void loadHandCursor(const std::string& path) override { handCursor = path; }
    void paintButtonFace(Control control) override { buttonFace.push_back(control); }
    void applySkin(const std::string& path) override { skin = path; }
    void showProgramIcon() override { ++programIconShown; }
    platform::PictureRef programIcon() const override { return icon; }
    bool isWindowVisible() const override { return windowVisible; }
    void runSoon(std::function<void()> work) override { soon.push_back(std::move(work)); }
    WindowState windowState() const override { return state; }
    void setWindowState(WindowState value) override { state = value; }
    void hideWindow() override { windowVisible = false; }
    void showWindow() override { windowVisible = true; }
    void focusWindow() override { ++focused; }

    std::map<Control, app::TwipsRect> places;
    std::map<Control, app::FontDesign> fonts;
    std::map<Control, std::string> captions;
    std::set<Control> hidden;
    std::map<Control, bool> checked;
    std::string folder;
    int progressMaximum = 100;
    int progressValue = -1;
    std::string progressText;
    std::map<Control, List> lists;
    engine::SnapshotRows* snapshotRows = nullptr;
    int interval = -1;
    bool enabled = true;
    commands::MousePointer pointer = commands::MousePointer::Default;
    std::optional<std::string> handCursor;
    std::vector<Control> buttonFace;
    std::optional<std::string> skin;
    int programIconShown = 0;
    platform::PictureRef icon = NewPicture(platform::PictureType::Icon);
    bool windowVisible = false;
    WindowState state = WindowState::Normal;
    int focused = 0;
    std::vector<std::function<void()>> soon;

private:
    app::Form1* form_ = nullptr;
};

}  // namespace kestrava::fakes
