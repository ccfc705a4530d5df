#include "platform/ui/ImgList.h"

#include <algorithm>

#include "platform/core/Published.h"

namespace zb {

ZB_PUBLISHED(TCustomImageList){
    prop::Integer("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth),
    prop::Integer("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight),
    prop::Bool("Masked", &TCustomImageList::Masked, &TCustomImageList::SetMasked),
    prop::Integer("BkColor", &TCustomImageList::BkColor, &TCustomImageList::SetBkColor, "TColor"),
    prop::Event("OnChange", &TCustomImageList::OnChange),
};
ZB_PUBLISHED(TImageList){};

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}
TCustomImageList::~TCustomImageList() {
    // No change notification from a list that is going away.
    for (Entry& e : images_) e.image->Free();
}

void TCustomImageList::SetWidth(int w) {
    w = std::max(w, 1);
    if (w == width_) return;
    Clear();
    width_ = w;
}

void TCustomImageList::SetHeight(int h) {
    h = std::max(h, 1);
    if (h == height_) return;
    Clear();
    height_ = h;
}

void TCustomImageList::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) throw EComponentError("Image index out of range (" + std::to_string(index) + ")");
}

int TCustomImageList::Slice(const TBitmap* image, TColor maskColor) {
    if (!image || image->Empty()) return -1;
    int first = Count();
    int pieces = std::max(1, image->Width() / width_);
    for (int p = 0; p < pieces; ++p) {
        auto* piece = new TBitmap(width_, height_);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                TColor c = image->Pixel(p * width_ + x, y);
                piece->SetPixel(x, y, c == clNone ? (bkColor_ == clNone ? clWhite : bkColor_) : c);
            }
        images_.push_back({piece, maskColor});
    }
    OnChange(this);
    return first;
}

int TCustomImageList::Add(const TBitmap* image, const TBitmap* mask) {
    return Slice(image, mask && !mask->Empty() ? mask->TransparentColor() : clNone);
}

int TCustomImageList::AddMasked(const TBitmap* image, TColor maskColor) { return Slice(image, maskColor); }

bool TCustomImageList::GetBitmap(int index, TBitmap* target) const {
    if (index < 0 || index >= Count() || !target) return false;
    target->Assign(images_[static_cast<size_t>(index)].image);
    return true;
}

TColor TCustomImageList::MaskColor(int index) const {
    CheckIndex(index);
    return images_[static_cast<size_t>(index)].maskColor;
}

void TCustomImageList::Replace(int index, const TBitmap* image, const TBitmap* mask) {
    CheckIndex(index);
    if (!image) return;
    Entry& e = images_[static_cast<size_t>(index)];
    TBitmap fitted(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            TColor c = image->Pixel(x, y);
            fitted.SetPixel(x, y, c == clNone ? clWhite : c);
        }
    e.image->Assign(&fitted);
    e.maskColor = mask && !mask->Empty() ? mask->TransparentColor() : clNone;
    OnChange(this);
}

void TCustomImageList::Delete(int index) {
    CheckIndex(index);
    images_[static_cast<size_t>(index)].image->Free();
    images_.erase(images_.begin() + index);
    OnChange(this);
}

void TCustomImageList::Clear() {
    for (Entry& e : images_) e.image->Free();
    bool had = !images_.empty();
    images_.clear();
    if (had) OnChange(this);
}

}  // namespace zb
