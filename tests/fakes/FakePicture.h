#pragma once

#include <memory>

#include "platform/Picture.h"

namespace kestrava::fakes {

// A picture of a given kind, as the tray control sees it.
class FakePicture : public platform::Picture {
public:
    explicit FakePicture(platform::PictureType type) : type_(type) {}
    platform::PictureType type() const override { return type_; }

private:
    platform::PictureType type_;
};

inline platform::PictureRef NewPicture(platform::PictureType type) {
    return std::make_shared<FakePicture>(type);
}

}  // namespace kestrava::fakes
