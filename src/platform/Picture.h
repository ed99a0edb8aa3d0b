#pragma once

#include <memory>

namespace kestrava::platform {

// The kinds of picture, numbered as a picture object reports its type.
enum class PictureType { None = 0, Bitmap = 1, Metafile = 2, Icon = 3, EnhancedMetafile = 4 };

// An image that a control can be handed. Only the notification area's own
// implementation knows what lies behind it; everyone else sees its kind and identity.
class Picture {
public:
    virtual ~Picture() = default;

    virtual PictureType type() const = 0;
};

// A shared, read-only reference to a picture; empty when there is none.
using PictureRef = std::shared_ptr<const Picture>;

}  // namespace kestrava::platform
