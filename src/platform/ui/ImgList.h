// Image lists: pictures of one size kept by index, for tool bars, list
// views and buttons.
#pragma once

#include <vector>

#include "platform/core/Component.h"
#include "platform/ui/Graphics.h"

namespace zb {

class TCustomImageList : public TComponent {
    ZB_CLASS(TCustomImageList, TComponent)

public:
    explicit TCustomImageList(TComponent* owner = nullptr);
    ~TCustomImageList() override;

    int Width() const { return width_; }
    // Changing the size empties the list.
    void SetWidth(int w);
    int Height() const { return height_; }
    void SetHeight(int h);
    int Count() const { return static_cast<int>(images_.size()); }
    bool Masked() const { return masked_; }
    void SetMasked(bool on) { masked_ = on; }
    TColor BkColor() const { return bkColor_; }
    void SetBkColor(TColor c) { bkColor_ = c; }

    // A picture wider than the list is cut into Width-wide images; returns
    // the index of the first, -1 for an empty picture. The mask is kept as
    // given (or taken from the transparent colour with AddMasked).
    int Add(const TBitmap* image, const TBitmap* mask = nullptr);
    int AddMasked(const TBitmap* image, TColor maskColor);
    // Copies image `index` into `target`; false outside the list.
    bool GetBitmap(int index, TBitmap* target) const;
    // The colour masked out of an image; clNone when it has none.
    TColor MaskColor(int index) const;
    void Replace(int index, const TBitmap* image, const TBitmap* mask = nullptr);
    void Delete(int index);
    void Clear();

    TNotifyEvent OnChange;

private:
    struct Entry {
        TBitmap* image;
        TColor maskColor;
    };
    void CheckIndex(int index) const;
    int Slice(const TBitmap* image, TColor maskColor);

    int width_ = 16;
    int height_ = 16;
    bool masked_ = true;
    TColor bkColor_ = clNone;
    std::vector<Entry> images_;
};

class TImageList : public TCustomImageList {
    ZB_CLASS(TImageList, TCustomImageList)

public:
    explicit TImageList(TComponent* owner = nullptr) : TCustomImageList(owner) {}
};

}  // namespace zb
