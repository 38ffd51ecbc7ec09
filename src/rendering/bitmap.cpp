#include "rendering/bitmap.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace orvalet {
namespace {

class MemoryPixelStorage final : public PixelStorage {
public:
    std::uint32_t* Resize(int width, int height) override {
        const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        pixels_.assign(count, 0);
        return count == 0 ? nullptr : pixels_.data();
    }

private:
    std::vector<std::uint32_t> pixels_;
};

}  // namespace

std::unique_ptr<PixelStorage> CreateMemoryPixelStorage() { return std::make_unique<MemoryPixelStorage>(); }

Bitmap::Bitmap() : storage_(CreateMemoryPixelStorage()) {}

Bitmap::Bitmap(std::unique_ptr<PixelStorage> storage)
    : storage_(storage ? std::move(storage) : CreateMemoryPixelStorage()) {}

void Bitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    std::uint32_t* pixels = storage_->Resize(width, height);
    if (pixels == nullptr && width > 0 && height > 0) width = height = 0;  // the storage could not grow
    pixels_ = pixels;
    width_ = width;
    height_ = height;
}

Color Bitmap::Pixel(int x, int y) const { return Contains(x, y) ? FromMemory(Row(y)[x]) : 0; }

void Bitmap::SetPixel(int x, int y, Color color) {
    if (Contains(x, y)) Row(y)[x] = ToMemory(color);
}

void Bitmap::FillRect(int left, int top, int right, int bottom, Color color) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    if (left >= right || top >= bottom) return;
    const std::uint32_t pixel = ToMemory(color);
    for (int y = top; y < bottom; ++y) std::fill(Row(y) + left, Row(y) + right, pixel);
}

bool Bitmap::CopyFrom(const Bitmap& source) {
    if (source.width_ != width_ || source.height_ != height_) return false;
    if (pixels_ != nullptr && &source != this) {
        std::memcpy(pixels_, source.pixels_, static_cast<std::size_t>(width_) * height_ * sizeof *pixels_);
    }
    return true;
}

}  // namespace orvalet
