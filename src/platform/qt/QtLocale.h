#pragma once

#include <QLocale>

#include "platform/Locale.h"

namespace kestrava::platform {

// The user's locale as Qt knows it (the system locale in the program; any locale in
// tests). Texts cross into the locale's encoding the way every other string of the
// program does.
class QtLocale : public Locale {
public:
    explicit QtLocale(QLocale locale = QLocale::system()) : locale_(std::move(locale)) {}

    DateTimeNames dateTimeNames() const override;
    std::string decimalSeparator() const override;
    std::optional<std::u32string> decode(std::string_view text) const override;

private:
    QLocale locale_;
};

}  // namespace kestrava::platform
