#include "controls/ZbcEdit.h"

#include "controls/F2Button.h"
#include "platform/core/Published.h"
#include "platform/core/TypInfo.h"

namespace zb {

const EnumNames LabelPositionNames{"lpAbove", "lpBelow", "lpLeft", "lpRight"};

bool ControlFieldDisplayLabel(TControl* control, std::string& label) {
    if (!control) return false;
    const ClassInfo& ci = control->ClassType();
    const PropInfo* dsProp = ci.FindProperty("DataSource");
    const PropInfo* fieldProp = ci.FindProperty("DataField");
    if (!dsProp || dsProp->Kind != TypeKind::Class || !dsProp->GetObject || !fieldProp || !fieldProp->GetStr) return false;
    TObject* ds = dsProp->GetObject(*control);
    if (!ds) return false;
    const PropInfo* setProp = ds->ClassType().FindProperty("DataSet");
    if (!setProp || setProp->Kind != TypeKind::Class || !setProp->GetObject) return false;
    auto* labels = dynamic_cast<IFieldDisplayLabels*>(setProp->GetObject(*ds));
    if (!labels) return false;
    return labels->FieldDisplayLabel(fieldProp->GetStr(*control), label);
}

// --- the label ----------------------------------------------------------

void TEditLabelHost::Create() {
    label_ = new TLabel(edit_);
    label_->SetName("EditLabel");
    label_->SetCaption("");
    label_->SetFocusControl(edit_);
    label_->FreeNotification(edit_);
}

std::string TEditLabelHost::Caption() const { return label_ ? label_->Caption() : std::string(); }

void TEditLabelHost::SetCaption(const std::string& c) {
    if (!label_) return;
    label_->SetCaption(c);
    Place();
}

void TEditLabelHost::SetLabelPosition(TLabelPosition p) {
    position_ = p;
    Place();
}

void TEditLabelHost::SetLabelSpacing(int s) {
    if (s < 0) return;
    spacing_ = s;
    Place();
}

void TEditLabelHost::Place() {
    if (!label_) return;
    const int L = edit_->Left(), T = edit_->Top(), W = edit_->Width(), H = edit_->Height();
    const int w = label_->Width(), h = label_->Height(), s = spacing_;
    switch (position_) {
        case TLabelPosition::lpAbove:
            label_->SetBounds(L, T - h - s, w, h);
            break;
        case TLabelPosition::lpBelow:
            label_->SetBounds(L, T + H + s, w, h);
            break;
        case TLabelPosition::lpLeft:
            label_->SetBounds(L - w - s, T + (H - h) / 2, w, h);
            break;
        case TLabelPosition::lpRight:
            label_->SetBounds(L + W + s, T + (H - h) / 2, w, h);
            break;
    }
}

#define ZB_LABELLED_EDIT_IMPL(Class, Base)                                                   \
    void Class::SetParent(TWinControl* parent) {                                             \
        Base::SetParent(parent);                                                             \
        if (host_.EditLabel()) host_.EditLabel()->SetParent(parent);                         \
        host_.Place();                                                                       \
    }                                                                                        \
    void Class::Notification(TComponent* component, TOperation operation) {                  \
        Base::Notification(component, operation);                                            \
        if (operation != TOperation::opRemove) return;                                       \
        host_.Forget(component);                                                             \
        Forgotten(component);                                                                \
    }                                                                                        \
    void Class::BoundsChanged(bool sized) {                                                  \
        Base::BoundsChanged(sized);                                                          \
        host_.Place();                                                                       \
    }                                                                                        \
    void Class::VisibleChanged() {                                                           \
        Base::VisibleChanged();                                                              \
        if (host_.EditLabel()) host_.EditLabel()->SetVisible(Visible());                     \
    }                                                                                        \
    void Class::EnabledChanged() {                                                           \
        Base::EnabledChanged();                                                              \
        if (host_.EditLabel()) host_.EditLabel()->SetEnabled(Enabled());                     \
    }

ZB_LABELLED_EDIT_IMPL(TZbEdit, TEdit)
ZB_LABELLED_EDIT_IMPL(TZbDBEdit, TEdit)

#define ZB_LABELLED_EDIT_PROPS(C)                                                                  \
    prop::String("Caption", &C::Caption, &C::SetCaption, "TCaption"),                              \
        prop::Enum("LabelPosition", &C::LabelPosition, &C::SetLabelPosition, LabelPositionNames,     \
                   "TLabelPosition"),                                                              \
        prop::Integer("LabelSpacing", &C::LabelSpacing, &C::SetLabelSpacing),                       \
        prop::Class("EditLabel", &C::EditLabel)

ZB_PUBLISHED(TZbEdit){ZB_LABELLED_EDIT_PROPS(TZbEdit)};
ZB_PUBLISHED(TZbDBEdit){
    ZB_LABELLED_EDIT_PROPS(TZbDBEdit),
    prop::String("DataField", &TZbDBEdit::DataField, &TZbDBEdit::SetDataField),
    prop::Class("DataSource", &TZbDBEdit::DataSource, &TZbDBEdit::SetDataSource),
};
ZB_PUBLISHED(TZbBtnDBEdit){
    prop::Integer("ButtonSpacing", &TZbBtnDBEdit::ButtonSpacing, &TZbBtnDBEdit::SetButtonSpacing),
    prop::Integer("GlyphIndex", &TZbBtnDBEdit::GlyphIndex, &TZbBtnDBEdit::SetGlyphIndex),
    prop::String("ButtonHint", &TZbBtnDBEdit::ButtonHint, &TZbBtnDBEdit::SetButtonHint),
    prop::Event("OnDialog", &TZbBtnDBEdit::OnDialog),
};

TZbEdit::TZbEdit(TComponent* owner) : TEdit(owner) { host_.Create(); }

void TZbEdit::Forgotten(TComponent*) {}

void TZbDBEdit::Forgotten(TComponent* component) {
    if (component == dataSource_) dataSource_ = nullptr;
}

TZbDBEdit::TZbDBEdit(TComponent* owner) : TEdit(owner) { host_.Create(); }

void TZbDBEdit::SetDataField(const std::string& f) {
    dataField_ = f;
    if (IsDesigning()) {
        std::string label;
        if (ControlFieldDisplayLabel(this, label)) SetCaption(label);
    }
}

void TZbDBEdit::SetDataSource(TComponent* ds) {
    if (dataSource_) RemoveFreeNotification(dataSource_);
    dataSource_ = ds;
    if (ds) FreeNotification(ds);
}

// --- the button edit ----------------------------------------------------

TZbBtnDBEdit::TZbBtnDBEdit(TComponent* owner) : TZbDBEdit(owner) {
    button_ = new TGSpeedButton(this);
    button_->SetName("F2Button");
    button_->SetFlat(true);
    button_->SetGlyphIndex(8);
    button_->FreeNotification(this);
    button_->OnClick = Handler<&TZbBtnDBEdit::ButtonClick>(this);
    PlaceButton();
}

void TZbBtnDBEdit::PlaceButton() {
    if (!button_) return;
    button_->SetBounds(Left() + Width() + buttonSpacing_, Top(), Height(), Height());
}

void TZbBtnDBEdit::SetButtonSpacing(int s) {
    buttonSpacing_ = s;
    PlaceButton();
}

void TZbBtnDBEdit::SetGlyphIndex(int n) {
    if (button_) button_->SetGlyphIndex(n);
    glyphIndex_ = n;
}

void TZbBtnDBEdit::SetParent(TWinControl* parent) {
    TZbDBEdit::SetParent(parent);
    if (button_) button_->SetParent(parent);
    PlaceButton();
}

void TZbBtnDBEdit::Notification(TComponent* component, TOperation operation) {
    TZbDBEdit::Notification(component, operation);
    if (operation == TOperation::opRemove && component == button_) button_ = nullptr;
}

void TZbBtnDBEdit::BoundsChanged(bool sized) {
    TZbDBEdit::BoundsChanged(sized);
    PlaceButton();
}

void TZbBtnDBEdit::VisibleChanged() {
    TZbDBEdit::VisibleChanged();
    if (button_) button_->SetVisible(Visible());
}

void TZbBtnDBEdit::EnabledChanged() {
    TZbDBEdit::EnabledChanged();
    if (button_) button_->SetEnabled(Enabled());
}

void TZbBtnDBEdit::ButtonClick(TObject*) {
    if (OnDialog) {
        OnDialog(this);
        return;
    }
    if (CanFocus() && ParentForm()) SetFocus();
    if (Focused()) SendQuickPick(this);
}

}  // namespace zb
