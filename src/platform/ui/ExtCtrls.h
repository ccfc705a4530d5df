// Panels, splitters, bevels and images.
#pragma once

#include "platform/ui/Controls.h"

namespace zb {

enum class TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };

class TCustomPanel : public TCustomControl {
    ZB_CLASS(TCustomPanel, TCustomControl)

public:
    explicit TCustomPanel(TComponent* owner = nullptr);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a) { alignment_ = a; }
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut b) { bevelInner_ = b; }
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut b) { bevelOuter_ = b; }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int w);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int w);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle b) { borderStyle_ = b; }

protected:
    // Children align inside the border and bevels.
    void AlignControls(TRect& rect) override;

private:
    TAlignment alignment_ = TAlignment::taCenter;
    TBevelCut bevelInner_ = TBevelCut::bvNone;
    TBevelCut bevelOuter_ = TBevelCut::bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = TBorderStyle::bsNone;
};

class TPanel : public TCustomPanel {
    ZB_CLASS(TPanel, TCustomPanel)

public:
    explicit TPanel(TComponent* owner = nullptr) : TCustomPanel(owner) {}
};

// Sits between an aligned control and the rest; moving it resizes the
// control it follows, never below MinSize.
class TSplitter : public TGraphicControl {
    ZB_CLASS(TSplitter, TGraphicControl)

public:
    explicit TSplitter(TComponent* owner = nullptr);

    int MinSize() const { return minSize_; }
    void SetMinSize(int n) { minSize_ = n < 1 ? 1 : n; }
    bool Beveled() const { return beveled_; }
    void SetBeveled(bool on) { beveled_ = on; }
    TResizeStyle ResizeStyle() const { return resizeStyle_; }
    void SetResizeStyle(TResizeStyle r) { resizeStyle_ = r; }
    // The control the splitter resizes: the visible sibling with the same
    // alignment that touches it. Null when none.
    TControl* FindControl() const;
    // The user drags by `delta` pixels (towards right or bottom positive).
    void MoveBy(int delta);

    TNotifyEvent OnMoved;

private:
    int minSize_ = 30;
    bool beveled_ = false;
    TResizeStyle resizeStyle_ = TResizeStyle::rsPattern;
};

enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum class TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
    ZB_CLASS(TBevel, TGraphicControl)

public:
    explicit TBevel(TComponent* owner = nullptr);
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape s) { shape_ = s; }
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle s) { style_ = s; }

private:
    TBevelShape shape_ = TBevelShape::bsBox;
    TBevelStyle style_ = TBevelStyle::bsLowered;
};

class TImage : public TGraphicControl {
    ZB_CLASS(TImage, TGraphicControl)

public:
    explicit TImage(TComponent* owner = nullptr);
    ~TImage() override;
    TBitmap* Picture() const { return picture_; }
    void SetPicture(TBitmap* b) { picture_->Assign(b); }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool on) { stretch_ = on; }
    bool Center() const { return center_; }
    void SetCenter(bool on) { center_ = on; }
    bool Transparent() const { return picture_->Transparent(); }
    void SetTransparent(bool on) { picture_->SetTransparent(on); }

private:
    TBitmap* picture_;
    bool stretch_ = false;
    bool center_ = false;
};

}  // namespace zb
