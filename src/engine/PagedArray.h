#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

namespace kestrava::engine {

// An array that grows a page of PerPage items at a time and never moves what it holds:
// a vector that grows by copying itself into a larger buffer leaves the old one behind
// in the process's memory, and room reserved ahead must be given back by another copy.
// A page's items that nothing was written to cost no memory.
template <typename Item, std::size_t PerPage>
class PagedArray {
public:
    void push_back(const Item& item) {
        if (size_ % PerPage == 0) {
            pages_.push_back(std::make_unique_for_overwrite<Item[]>(PerPage));
        }
        pages_.back()[size_ % PerPage] = item;
        ++size_;
    }

    // Gives back the last page's room: nothing is added after this. A page that stays
    // small, as a small snapshot's only one, costs no more than its items.
    void shrinkToFit() {
        const std::size_t inLastPage = size_ % PerPage;
        if (inLastPage != 0) {
            auto exact = std::make_unique_for_overwrite<Item[]>(inLastPage);
            std::copy_n(pages_.back().get(), inLastPage, exact.get());
            pages_.back() = std::move(exact);
        }
    }

    const Item& operator[](std::size_t index) const {
        return pages_[index / PerPage][index % PerPage];
    }

    std::size_t size() const { return size_; }

private:
    std::vector<std::unique_ptr<Item[]>> pages_;
    std::size_t size_ = 0;
};

}  // namespace kestrava::engine
