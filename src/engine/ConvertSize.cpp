#include "engine/ConvertSize.h"

#include <array>
#include <charconv>
#include <cmath>

#include "core/LocationTags.h"
#include "core/StepTrap.h"
#include "platform/RuntimeError.h"

namespace kestrava::engine {
namespace {

// ConvertSize's steps, as its error report numbers them; dividing by a unit has the
// step of its own unit (Units).
namespace step {
constexpr int ChooseTheUnit = 106;
constexpr int WriteTheNumber = 124;
}  // namespace step

struct Unit {
    double threshold;
    std::string_view text;
    int step;  // the step that divides by this unit
};

constexpr std::array<Unit, 5> Units{{
    {0, " Bytes", 0},
    {1024.0, " KB", 116},
    {1048576.0, " MB", 118},
    {1073741824.0, " GB", 120},
    {1099511627776.0, " TB", 122},
}};

// The general number form: up to 15 significant digits, no trailing zeros, no
// separator for a whole number. std::to_chars ignores the C locale, which Qt sets
// from the environment.
std::string GeneralNumber(double value, std::string_view decimalSeparator) {
    std::array<char, 32> digits{};
    const auto [end, status] = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                             std::chars_format::general, 15);
    if (status != std::errc{}) {
        throw platform::RuntimeError(platform::error_number::Overflow);
    }
    std::string text(digits.data(), end);
    if (const auto point = text.find('.'); point != std::string::npos) {
        text.replace(point, 1, decimalSeparator);
    }
    return text;
}

}  // namespace

std::string ConvertSize(double size, std::string_view decimalSeparator,
                        const core::ErrorReport& errorReport) {
    const core::StepTrap trap(errorReport, core::location_tag::ConvertSize);
    const Unit* unit = &Units[0];
    const bool chosen = trap.run(step::ChooseTheUnit, [&] {
        if (!std::isfinite(size) || size < 0) {
            throw platform::RuntimeError(platform::error_number::InvalidProcedureCall);
        }
        for (const Unit& candidate : Units) {
            if (size >= candidate.threshold) {
                unit = &candidate;
            }
        }
    });
    if (!chosen) {
        return {};  // one report is enough for a count that no file can have
    }
    double number = size;
    if (unit->step != 0) {
        // nearbyint rounds half to even; the unit stays even when this reaches 1024.
        trap.run(unit->step,
                 [&] { number = std::nearbyint(size / unit->threshold * 10.0) / 10.0; });
    }
    std::string text;
    if (!trap.run(step::WriteTheNumber, [&] { text = GeneralNumber(number, decimalSeparator); })) {
        return text;
    }
    text += unit->text;
    return text;
}

}  // namespace kestrava::engine
