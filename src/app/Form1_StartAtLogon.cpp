#include "app/Form1.h"
#include "commands/StartAtLogon.h"

namespace kestrava::app {

// Restoring the box at start-up changes nothing else. Clearing it also clears the
// option to start minimised, which only means something at logon.
void Form1::Check4_Click() {
    if (IsLoading) {
        return;
    }
    if (view_.isChecked(Control::Check4)) {
        view_.setControlVisible(Control::Check8, true);
        if (!commands::TurnOnStartAtLogon(settings_, services_, AppTitle)) {
            view_.setChecked(Control::Check4, false);  // clears the option through this handler
        }
    } else {
        view_.setChecked(Control::Check8, false);
        view_.setControlVisible(Control::Check8, false);
        commands::TurnOffStartAtLogon(settings_, services_, AppTitle);
    }
}

}  // namespace kestrava::app
