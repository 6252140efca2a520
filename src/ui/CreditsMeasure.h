#pragma once
// What the credits arithmetic needs to know from the screen: how big a text is in the font
// of its style, and how big a picture is.
#include <optional>
#include <string>

#include "ui/CreditsLine.h"
#include "ui/UiGeometry.h"

namespace sw {

class ICreditsMeasure {
public:
    virtual ~ICreditsMeasure() = default;
    // The text in the font of the style (the panel's own font for the fallback).
    virtual UiSize TextSize(CreditsStyle style, const std::string& text) = 0;
    // The picture of that name; nothing when it cannot be loaded.
    virtual std::optional<UiSize> PictureSize(const std::string& name) = 0;
};

}  // namespace sw
