#pragma once

#include <string>
#include <vector>

#include "platform/SettingsBackend.h"

namespace kestrava::fakes {

// Passes everything to the real store and keeps a list of the writes, so that a
// test can tell a value written again from one left alone.
class RecordingSettingsBackend : public platform::SettingsBackend {
public:
    explicit RecordingSettingsBackend(platform::SettingsBackend& real) : real_(real) {}

    struct Write {
        std::string key;
        std::string value;
        bool operator==(const Write&) const = default;
    };

    std::string read(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& defaultValue) const override {
        return real_.read(application, section, key, defaultValue);
    }

    void write(const std::string& application, const std::string& section, const std::string& key,
               const std::string& value) override {
        writes.push_back({key, value});
        real_.write(application, section, key, value);
    }

    std::vector<Write> writes;

private:
    platform::SettingsBackend& real_;
};

}  // namespace kestrava::fakes
