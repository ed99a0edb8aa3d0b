#pragma once

#include <string>

#include "engine/SnapshotRows.h"

namespace kestrava::fakes {

// Sizes and dates as plain numbers, to tell in a test which row's numbers a text shows.
class FakeRowTexts : public engine::FileRowTexts {
public:
    std::string sizeText(std::uint64_t bytes) override { return std::to_string(bytes) + " B"; }
    std::string dateText(std::int64_t utcSeconds) override {
        return "at " + std::to_string(utcSeconds);
    }
};

}  // namespace kestrava::fakes
