#include "app/Form1.h"
#include "core/LocationTags.h"
#include "engine/LoggingControls.h"

namespace kestrava::app {

void Form1::Timer1_Timer() {
    const core::StepTrap trap(errorReport_, core::location_tag::Timer1);
    engine::Timer1_Timer(*this, Schedule, snapshots_, SnapshotOfTheFolderBox(), services_.events,
                         trap);
}

void Form1::PushButton5_Click() {
    const core::StepTrap trap(errorReport_, core::location_tag::PushButton5Click);
    engine::ToggleAutomaticLogging(*this, settings_, trap);
}

void Form1::PushButton6_Click() {
    const core::StepTrap trap(errorReport_, core::location_tag::PushButton6Click);
    engine::LogCurrentStatusNow(*this, snapshots_, SnapshotOfTheFolderBox(), services_.events,
                                trap);
}

void Form1::ListView2_Click() {
    engine::ChooseInterval(*this, Schedule, settings_);
}

}  // namespace kestrava::app
