#include "core/ErrorReport.h"

#include "core/Product.h"

namespace kestrava::core {

std::string ErrorReport::text(const platform::RuntimeError& error, std::string_view locationTag,
                              int step) {
    std::string text = error.description();
    text += "\r\n";
    text += locationTag;
    text += "at line ";
    text += std::to_string(step);
    text += "\r\r";
    text += "Please email screenshot of this message to ";
    text += SupportEmailAddress;
    return text;
}

void ErrorReport::show(const platform::RuntimeError& error, std::string_view locationTag,
                       int step) const {
    dialogs_.showMessage({.text = text(error, locationTag, step),
                          .caption = "Application Error",
                          .buttons = platform::MessageButtons::Ok,
                          .icon = platform::MessageIcon::Warning});
}

}  // namespace kestrava::core
