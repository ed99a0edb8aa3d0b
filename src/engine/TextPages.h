#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace kestrava::engine {

// Texts kept one after another in pages that never move. A buffer that grows by copying
// itself into a larger one leaves the old one behind in the process's memory, where it
// stays resident; pages are only ever added, and a page's bytes that nothing was
// written to cost no memory either.
class TextPages {
public:
    static constexpr std::size_t PageBytes = 1 << 16;

    // Keeps the text (at most PageBytes bytes are kept) and gives the place to find it by.
    std::uint32_t store(std::string_view text) {
        text = text.substr(0, PageBytes);
        if (pages_.empty() || used_ + text.size() > PageBytes) {
            pages_.push_back(std::make_unique_for_overwrite<char[]>(PageBytes));
            used_ = 0;
        }
        const auto place = static_cast<std::uint32_t>(((pages_.size() - 1) << 16) | used_);
        text.copy(pages_.back().get() + used_, text.size());
        used_ += text.size();
        return place;
    }

    // Gives back the last page's room: no text is stored after this. A page that
    // stays small, as a small snapshot's only one, costs no more than its texts.
    void shrinkToFit() {
        if (!pages_.empty() && used_ < PageBytes) {
            auto exact = std::make_unique_for_overwrite<char[]>(used_);
            std::copy_n(pages_.back().get(), used_, exact.get());
            pages_.back() = std::move(exact);
        }
    }

    std::string_view at(std::uint32_t place, std::size_t length) const {
        if (length == 0) {
            return {};
        }
        return {pages_[place >> 16].get() + (place & 0xFFFF), length};
    }

private:
    std::vector<std::unique_ptr<char[]>> pages_;
    std::size_t used_ = 0;  // in the last page
};

}  // namespace kestrava::engine
