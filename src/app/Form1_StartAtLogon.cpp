#include "app/Form1.h"
#include "commands/StartAtLogon.h"

namespace kestrava::app {

// Restoring the box at start-up changes nothing else. Clearing it also clears the
// option to start minimised, which only means something at logon.
void Form1::Check4_Click() {
    if (IsLoading) {
        return;
    }
    if (Check4->isChecked()) {
        Check8->setVisible(true);
        if (!commands::TurnOnStartAtLogon(settings_, services_, AppTitle)) {
            Check4->setChecked(false);  // clears the option through this handler
        }
    } else {
        Check8->setChecked(false);
        Check8->setVisible(false);
        commands::TurnOffStartAtLogon(settings_, services_, AppTitle);
    }
}

}  // namespace kestrava::app
