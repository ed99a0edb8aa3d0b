#pragma once

#include <windows.h>

#include <array>
#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "app/Form1.h"
#include "app/Form1View.h"
#include "engine/SnapshotRows.h"

namespace kestrava::ui::win32 {

// The main window in the system's own controls: group boxes, push buttons, check boxes,
// an edit box, two report-view list views (the snapshot list virtual, over the row
// store), a progress bar that shows its text and a timer. It shows what Form1 sets
// and reports what the user does by calling Form1's handlers.
class Win32Form1View : public app::Form1View, private engine::SnapshotRowsObserver {
public:
    explicit Win32Form1View(HINSTANCE instance);
    ~Win32Form1View() override;
    Win32Form1View(const Win32Form1View&) = delete;
    Win32Form1View& operator=(const Win32Form1View&) = delete;

    // From now on the controls' events reach the window's handlers.
    void attach(app::Form1& form) { form_ = &form; }

    HWND window() const { return window_; }
    HWND control(app::Control control) const;

    // app::Form1View
    void place(app::Control control, const app::TwipsRect& place) override;
    void setControlFont(app::Control control, const app::FontDesign& font) override;
    std::string caption(app::Control control) const override;
    void setCaption(app::Control control, const std::string& caption) override;
    bool isControlVisible(app::Control control) const override;
    void setControlVisible(app::Control control, bool visible) override;
    bool isChecked(app::Control box) const override;
    void setChecked(app::Control box, bool checked) override;
    std::string folderText() const override;
    void setFolderText(const std::string& text) override;
    void setProgressMaximum(int maximum) override;
    void setProgressValue(int value) override;
    void setProgressText(const std::string& text) override;
    void addListColumn(app::Control list, const std::string& caption) override;
    void setListColumnWidth(app::Control list, int column, int widthTwips) override;
    void addListRow(app::Control list, const std::string& text) override;
    int listRowCount(app::Control list) const override;
    std::string listRowText(app::Control list, int row) const override;
    void selectListRow(app::Control list, int row) override;
    std::optional<int> selectedListRow(app::Control list) const override;
    void showSnapshotRows(engine::SnapshotRows* rows) override;
    int timerInterval() const override { return timerInterval_; }
    void setTimerInterval(int milliseconds) override;
    bool timerEnabled() const override { return timerEnabled_; }
    void setTimerEnabled(bool enabled) override;
    void setMousePointer(commands::MousePointer pointer) override;
    void loadHandCursor(const std::string& path) override;
    void paintButtonFace(app::Control control) override;
    void applySkin(const std::string& path) override;
    void showProgramIcon() override;
    platform::PictureRef programIcon() const override;
    bool isWindowVisible() const override;
    void runSoon(std::function<void()> work) override;

    // commands::TopLevelWindow
    commands::WindowState windowState() const override;
    void setWindowState(commands::WindowState state) override;
    void hideWindow() override;
    void showWindow() override;
    void focusWindow() override;

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    static LRESULT CALLBACK ControlProcedure(HWND control, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR id, DWORD_PTR view);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleControl(app::Control control, HWND handle, UINT message, WPARAM wParam,
                          LPARAM lParam);
    void createControls();
    void layOut();
    void command(WORD id, WORD code);
    LRESULT notify(const NMHDR& header);
    bool setCursor(HWND over) const;
    void reportMouseMoveOverTheWindow(LPARAM position);
    void restartTimer();
    void drawProgressText(HWND bar) const;

    // engine::SnapshotRowsObserver: the virtual list only learns the count of rows.
    void willAppendRows(std::size_t first, std::size_t last) override;
    void didAppendRows() override;
    void willRemoveRows(std::size_t first, std::size_t last) override;
    void didRemoveRows() override;
    void showRowCount();

    HINSTANCE instance_;
    HWND window_ = nullptr;
    app::Form1* form_ = nullptr;
    std::array<HWND, app::Form1Controls.size()> controls_{};
    std::array<app::TwipsRect, app::Form1Controls.size()> places_{};
    std::array<std::optional<app::FontDesign>, app::Form1Controls.size()> fonts_{};
    std::array<HFONT, app::Form1Controls.size()> madeFonts_{};
    std::array<std::vector<int>, 2> columnWidthsTwips_;  // of ListView1 and ListView2
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    engine::SnapshotRows* rows_ = nullptr;
    std::chrono::steady_clock::time_point rowCountShown_{};
    bool rowCountLate_ = false;  // rows were added that the list doesn't know of yet
    std::wstring progressText_;
    int timerInterval_ = 0;
    bool timerEnabled_ = true;
    commands::MousePointer pointer_ = commands::MousePointer::Default;
    HCURSOR handCursor_ = nullptr;
    std::set<app::Control> buttonFace_;
    std::optional<commands::WindowState> stateWhenShown_;
    std::deque<std::function<void()>> soon_;
    bool selectingInCode_ = false;
    bool keyboardMove_ = false;
};

}  // namespace kestrava::ui::win32
