#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/Form1.h"
#include "support/WindowSeams.h"
#include "ui/qt/QtForm1View.h"

namespace kestrava::testing {

// The real Qt window over the tests' seams, for what only the Qt view does: the
// handlers themselves are tested over a fake view, in the unit tests.
class Form1Fixture : public ::testing::Test, protected WindowSeams {
protected:
    // A window after its start-up, as the program would show it.
    app::Form1& loadedForm() { return loadedForm(services); }

    app::Form1& loadedForm(platform::Services& seams) {
        form.reset();
        view = std::make_unique<ui::qt::QtForm1View>();
        form = std::make_unique<app::Form1>(*view, seams);
        view->attach(*form);
        form->Form_Load();
        return *form;
    }

    template <typename Widget>
    Widget* widget(app::Control control) const {
        return view->widget<Widget>(control);
    }

    std::unique_ptr<ui::qt::QtForm1View> view;
    std::unique_ptr<app::Form1> form;
};

}  // namespace kestrava::testing
