// The widgets' shared fonts: one per face, point size and weight, made on first request and kept until the
// process ends. The cache owns the fonts it made; callers only borrow them. `Font` is the Windows layer's
// font owner (or a test double); `create` makes one from a face, a pixel height and a weight.
#pragma once

#include <functional>
#include <map>
#include <string>

inline constexpr int kFontWeightRegular = 400;
inline constexpr int kFontWeightBold = 700;

// The character height in pixels (negative, as font creation expects for a character height) of a font of
// `points` on a device with `pixelsPerInch` vertical pixels per inch, rounded to the nearest pixel.
int FontHeightForPoints(int points, int pixelsPerInch);

template <class Font> class FontCache {
public:
    using Create = std::function<Font(const std::wstring& face, int height, int weight)>;

    explicit FontCache(Create create) : create_(std::move(create)) {}

    // The cached font of `face` at `points`, regular or bold; made for `pixelsPerInch` when first asked for.
    const Font& Get(const std::wstring& face, int points, bool bold, int pixelsPerInch) {
        const int weight = bold ? kFontWeightBold : kFontWeightRegular;
        auto& sizes = fonts_[weight][face];
        auto found = sizes.find(points);
        if (found == sizes.end())
            found = sizes.emplace(points, create_(face, FontHeightForPoints(points, pixelsPerInch), weight))
                        .first;
        return found->second;
    }

private:
    Create create_;
    std::map<int, std::map<std::wstring, std::map<int, Font>>> fonts_;
};
