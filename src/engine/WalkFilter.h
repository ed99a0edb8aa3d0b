#pragma once

#include <string_view>

namespace kestrava::engine {

// What a walk leaves out beyond what it always leaves out, asked of paths relative to
// the walk's top folder ("Archive", "Archive" + separator + "old.zip"), with the
// platform's separator and none at either end. The walk's helper threads ask it at the
// same time, so its answers may depend on nothing that changes during the walk.
class WalkFilter {
public:
    virtual ~WalkFilter() = default;

    // False leaves the folder out with everything below it: it is never read.
    virtual bool goesInto(std::string_view folder) const = 0;
    virtual bool keepsFile(std::string_view file) const = 0;
};

}  // namespace kestrava::engine
