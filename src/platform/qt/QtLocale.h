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
    // The program's own text here is in the system's encoding already: the bytes that
    // file names have on disk.
    std::string toSystemEncoding(std::string_view text) const override { return std::string(text); }
    std::string fromSystemEncoding(std::string bytes) const override { return bytes; }

private:
    QLocale locale_;
};

}  // namespace kestrava::platform
