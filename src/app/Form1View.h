#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/Form1Design.h"
#include "commands/HoverRule.h"
#include "commands/TopLevelWindow.h"
#include "engine/SnapshotRows.h"
#include "platform/Picture.h"

namespace kestrava::app {

// The main window's controls as a toolkit shows them: Form1 reads and sets them
// through this, and the view reports what the user does by calling Form1's handlers.
// The view decides nothing a handler decides: it shows and reports.
//
// What happens to a control here raises its events as it would in the window: a
// check box whose value changes raises its click handling, the folder box whose text
// changes raises its change handling. Selecting a list row from code raises nothing.
class Form1View : public commands::TopLevelWindow {
public:
    // Design: where a control sits in its container, and its font.
    virtual void place(Control control, const TwipsRect& place) = 0;
    virtual void setControlFont(Control control, const FontDesign& font) = 0;

    // The caption of the window, a frame, a push button or a check box.
    virtual std::string caption(Control control) const = 0;
    virtual void setCaption(Control control, const std::string& caption) = 0;

    virtual bool isControlVisible(Control control) const = 0;
    virtual void setControlVisible(Control control, bool visible) = 0;

    virtual bool isChecked(Control box) const = 0;
    virtual void setChecked(Control box, bool checked) = 0;

    // The folder box, Text1.
    virtual std::string folderText() const = 0;
    virtual void setFolderText(const std::string& text) = 0;

    // The progress bar, whose minimum is 0.
    virtual void setProgressMaximum(int maximum) = 0;
    virtual void setProgressValue(int value) = 0;
    virtual void setProgressText(const std::string& text) = 0;

    // The report lists. Rows count from 1.
    virtual void addListColumn(Control list, const std::string& caption) = 0;
    virtual void setListColumnWidth(Control list, int column, int widthTwips) = 0;
    virtual void addListRow(Control list, const std::string& text) = 0;
    virtual int listRowCount(Control list) const = 0;
    virtual std::string listRowText(Control list, int row) const = 0;
    virtual void selectListRow(Control list, int row) = 0;
    virtual std::optional<int> selectedListRow(Control list) const = 0;
    // The snapshot list, ListView1, shows these rows as they are published; nothing once
    // they are null (their store is going).
    virtual void showSnapshotRows(engine::SnapshotRows* rows) = 0;

    // The timer, Timer1: it ticks every interval milliseconds while it is enabled and
    // its interval is above 0, each tick calling Form1::Timer1_Timer.
    virtual int timerInterval() const = 0;
    virtual void setTimerInterval(int milliseconds) = 0;
    virtual bool timerEnabled() const = 0;
    virtual void setTimerEnabled(bool enabled) = 0;

    // The pointer over the window. The custom pointer is the hand cursor once one is
    // loaded, and the standard pointer without it.
    virtual void setMousePointer(commands::MousePointer pointer) = 0;
    // Throws RuntimeError 481 (invalid picture) when the file holds no cursor.
    virtual void loadHandCursor(const std::string& path) = 0;

    // The skin: a control takes the system's button-face colour as its background, and
    // the window the skin file's look. Throws RuntimeError when the file can't be read.
    virtual void paintButtonFace(Control control) = 0;
    virtual void applySkin(const std::string& path) = 0;

    // The program's icon, as the window's icon and as a picture for the tray.
    virtual void showProgramIcon() = 0;
    virtual platform::PictureRef programIcon() const = 0;

    virtual bool isWindowVisible() const = 0;

    // Runs the work once the event loop runs, after whatever is under way.
    virtual void runSoon(std::function<void()> work) = 0;
};

}  // namespace kestrava::app
