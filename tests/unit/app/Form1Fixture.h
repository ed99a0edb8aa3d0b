#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/Form1.h"
#include "fakes/FakeForm1View.h"
#include "support/WindowSeams.h"

namespace kestrava::testing {

// Form1 over a fake view and the tests' seams. No display is needed.
class Form1Fixture : public ::testing::Test, protected WindowSeams {
protected:
    using Control = app::Control;

    // A window after its start-up, as the program would have it before showing it.
    app::Form1& loadedForm() {
        form.reset();
        view = std::make_unique<fakes::FakeForm1View>();
        form = std::make_unique<app::Form1>(*view, services);
        view->attach(*form);
        form->Form_Load();
        return *form;
    }

    // The window after start-up, shown as the program shows it.
    app::Form1& shownForm() {
        loadedForm();
        form->Show();
        view->runWhatWasSoon();
        return *form;
    }

    std::string status() const { return view->caption(Control::Frame1); }
    std::size_t rows() const { return form->snapshotRows().rowCount(); }

    std::unique_ptr<fakes::FakeForm1View> view;
    std::unique_ptr<app::Form1> form;
};

}  // namespace kestrava::testing
