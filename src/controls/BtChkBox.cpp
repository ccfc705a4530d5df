#include "controls/BtChkBox.h"

#include <algorithm>
#include <cctype>

#include "platform/core/Published.h"
#include "platform/ui/Forms.h"

namespace zb {

namespace {
const EnumNames kLeftRight{"taLeftJustify", "taRightJustify"};
const char* const kResources[3] = {"UNCHECKED", "CHECKED", "GRAYED"};
int Slot(TCheckBoxState s) { return static_cast<int>(s); }

// The first character after a single "&" (upper-cased), 0 when none.
char AccelChar(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}
}  // namespace

void LoadCheckBoxResource(TBitmap& b, std::string_view name) {
    int kind = name == "UNCHECKED" ? 0 : name == "CHECKED" ? 1 : name == "GRAYED" ? 2 : -1;
    if (kind < 0) {
        b.SetSize(0, 0);
        return;
    }
    b.SetSize(19, 14);
    b.Fill(clOlive);
    // A raised 13 x 13 silver square: white upper-left edge, grey lower-right edge.
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x) {
            TColor c = clSilver;
            if (x == 0 || y == 0) c = clWhite;
            if (x == 12 || y == 12) c = clGray;
            b.SetPixel(x, y, c);
        }
    if (kind == 1) {
        // A blue tick whose upper end rises beyond the upper-right corner.
        for (int i = 0; i < 4; ++i) {
            b.SetPixel(3 + i, 6 + i, clBlue);
            b.SetPixel(3 + i, 7 + i, clBlue);
        }
        for (int i = 0; i < 11; ++i) {
            b.SetPixel(7 + i, 9 - i, clBlue);
            b.SetPixel(7 + i, 10 - i, clBlue);
        }
    } else if (kind == 2) {
        // A blue question mark.
        const char* rows[] = {"..###..", ".#...#.", ".....#.", "....#..", "...#...", "...#...", ".......", "...#..."};
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 7; ++x)
                if (rows[y][x] == '#') b.SetPixel(3 + x, 2 + y, clBlue);
    }
}

ZB_PUBLISHED(TBitCheckBox){
    prop::String("Caption", &TBitCheckBox::Caption, &TBitCheckBox::SetCaption, "TCaption"),
    prop::Enum("State", &TBitCheckBox::State, &TBitCheckBox::SetState, CheckBoxStateNames, "TCheckBoxState"),
    prop::Bool("Checked", &TBitCheckBox::Checked, &TBitCheckBox::SetChecked),
    prop::Bool("AllowGrayed", &TBitCheckBox::AllowGrayed, &TBitCheckBox::SetAllowGrayed),
    prop::Enum("Alignment", &TBitCheckBox::Alignment, &TBitCheckBox::SetAlignment, kLeftRight, "TLeftRight"),
    prop::Bool("Ctl3D", &TBitCheckBox::Ctl3D, &TBitCheckBox::SetCtl3D),
    prop::Bool("ParentCtl3D", &TBitCheckBox::ParentCtl3D, &TBitCheckBox::SetParentCtl3D),
    prop::Class("CheckedGlyph", &TBitCheckBox::CheckedGlyph, &TBitCheckBox::SetCheckedGlyph),
    prop::Class("GrayedGlyph", &TBitCheckBox::GrayedGlyph, &TBitCheckBox::SetGrayedGlyph),
    prop::Class("UncheckedGlyph", &TBitCheckBox::UncheckedGlyph, &TBitCheckBox::SetUncheckedGlyph),
    prop::Integer("CheckedNumGlyphs", &TBitCheckBox::CheckedNumGlyphs, &TBitCheckBox::SetCheckedNumGlyphs),
    prop::Integer("GrayedNumGlyphs", &TBitCheckBox::GrayedNumGlyphs, &TBitCheckBox::SetGrayedNumGlyphs),
    prop::Integer("UncheckedNumGlyphs", &TBitCheckBox::UncheckedNumGlyphs, &TBitCheckBox::SetUncheckedNumGlyphs),
    prop::Event("OnClick", &TBitCheckBox::OnClick),
    prop::Event("OnEnter", &TBitCheckBox::OnEnter),
    prop::Event("OnExit", &TBitCheckBox::OnExit),
    prop::Event("OnKeyDown", &TBitCheckBox::OnKeyDown, "TKeyEvent"),
    prop::Event("OnKeyPress", &TBitCheckBox::OnKeyPress, "TKeyPressEvent"),
    prop::Event("OnKeyUp", &TBitCheckBox::OnKeyUp, "TKeyEvent"),
    prop::Event("OnMouseDown", &TBitCheckBox::OnMouseDown, "TMouseEvent"),
    prop::Event("OnMouseMove", &TBitCheckBox::OnMouseMove, "TMouseMoveEvent"),
    prop::Event("OnMouseUp", &TBitCheckBox::OnMouseUp, "TMouseEvent"),
    prop::Event("OnStartDrag", &TBitCheckBox::OnStartDrag),
};

TBitCheckBox::TBitCheckBox(TComponent* owner) : TCustomControl(owner) {
    for (auto& g : glyphs_) g = new TBitmap;
    SetBounds(Left(), Top(), 97, 17);
    SetTabStop(true);
    for (int i = 0; i < 3; ++i) {
        SetGlyph(static_cast<TCheckBoxState>(i), nullptr);
        SetNumGlyphs(static_cast<TCheckBoxState>(i), 1);
    }
}

TBitCheckBox::~TBitCheckBox() {
    for (auto* g : glyphs_) delete g;
}

void TBitCheckBox::SetState(TCheckBoxState s) {
    if (s == state_) return;
    state_ = s;
    Invalidate();
    Changed("State");
}

void TBitCheckBox::SetAlignment(TLeftRight a) {
    if (a == alignment_) return;
    alignment_ = a;
    Invalidate();
}

void TBitCheckBox::SetCtl3D(bool on) {
    if (on == ctl3D_) return;
    ctl3D_ = on;
    parentCtl3D_ = false;
    Realign();
    Invalidate();
}

void TBitCheckBox::SetGlyph(TCheckBoxState s, TBitmap* b) {
    int i = Slot(s);
    if (b)
        glyphs_[i]->Assign(b);
    else
        LoadCheckBoxResource(*glyphs_[i], kResources[i]);
    const TBitmap& g = *glyphs_[i];
    // The count is the whole number of box-high images that fit: a 38 x 14
    // strip holds the enabled and the disabled box, a 19 x 14 picture one.
    if (g.Height() > 0) SetNumGlyphs(s, g.Width() / g.Height());
    Invalidate();
}

void TBitCheckBox::SetNumGlyphs(TCheckBoxState s, int n) {
    numGlyphs_[Slot(s)] = std::clamp(n, 1, 2);
    Invalidate();
}

void TBitCheckBox::Toggle() {
    switch (state_) {
        case TCheckBoxState::cbUnchecked:
            SetState(allowGrayed_ ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked);
            break;
        case TCheckBoxState::cbChecked:
            SetState(TCheckBoxState::cbUnchecked);
            break;
        case TCheckBoxState::cbGrayed:
            SetState(TCheckBoxState::cbChecked);
            break;
    }
}

void TBitCheckBox::Click() {
    Toggle();
    TCustomControl::Click();
    if (Showing() && CanFocus() && ParentForm()) SetFocus();
}

void TBitCheckBox::DoKeyPress(char& key) {
    TCustomControl::DoKeyPress(key);
    if (key == ' ') {
        Click();
        key = 0;
    }
}

bool TBitCheckBox::HandleDialogKey(Word key, TShiftState shift) {
    char accel = AccelChar(Caption());
    if (!accel || !(shift & ssAlt) || key != static_cast<unsigned char>(accel)) return TCustomControl::HandleDialogKey(key, shift);
    if (Enabled() && CanFocus() && ParentForm()) {
        SetFocus();
        if (Focused()) Toggle();
    }
    return true;
}

void TBitCheckBox::FontChanged() {
    TCustomControl::FontChanged();
    Canvas()->SetFont(Font());
    Invalidate();
}

void TBitCheckBox::DoEnter() {
    TCustomControl::DoEnter();
    Invalidate();
}

void TBitCheckBox::DoExit() {
    TCustomControl::DoExit();
    Invalidate();
}

TBitCheckBoxPaint TBitCheckBox::Paint() const {
    TBitCheckBoxPaint p;
    const int cw = ClientWidth(), ch = ClientHeight();
    p.Background = Color();
    int i = Slot(state_);
    const TBitmap* pic = glyphs_[i];
    int n = numGlyphs_[i];
    int w = pic->Width() / n;
    p.Picture = pic;

    const std::string& cap = Caption();
    int th = TextHeight(*Font(), cap);
    TRect r;
    r.Left = alignment_ == TLeftRight::taRightJustify ? w + 4 : 1;
    r.Right = r.Left + TextWidth(*Font(), cap) - (cap.find('&') != std::string::npos ? TextWidth(*Font(), "&") : 0);
    r.Top = (ch - th) / 2 - 2;
    r.Bottom = r.Top + th + 3;
    r.Left = std::clamp(r.Left, 0, cw);
    r.Right = std::clamp(r.Right, 0, cw);
    r.Top = std::clamp(r.Top, 0, ch);
    r.Bottom = std::clamp(r.Bottom, 0, ch);
    p.CaptionRect = r;
    if (Enabled()) {
        p.CaptionColor = Font()->Color();
    } else {
        p.CaptionShadow = ctl3D_;
        p.CaptionDraws = ctl3D_ ? 2 : 1;
        p.CaptionColor = clGrayText;
    }
    if (Focused()) {
        TRect f = r;
        if (f.Left > 0) --f.Left;
        if (f.Top > 0) --f.Top;
        ++f.Right;
        if (f.Bottom < Height()) ++f.Bottom;
        p.FocusRect = true;
        p.FocusRectBounds = f;
    }
    int left = alignment_ == TLeftRight::taLeftJustify ? cw - w : 0;
    int top = (ch - pic->Height()) / 2;
    p.GlyphDest = Bounds(left, top, w, pic->Height());
    int srcLeft = (!Enabled() && n == 2) ? w : 0;
    p.GlyphSource = Bounds(srcLeft, 0, w, pic->Height());
    return p;
}

void TBitCheckBox::RenderGlyph(TBitmap& out) const {
    TBitCheckBoxPaint p = Paint();
    out.SetSize(p.GlyphSource.Width(), p.GlyphSource.Height());
    TColor transparent = p.Picture->TransparentColor();
    TColor back = ColorToRGB(Color());
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            TColor c = p.Picture->Pixel(p.GlyphSource.Left + x, y);
            out.SetPixel(x, y, c == transparent ? back : c);
        }
}

}  // namespace zb
