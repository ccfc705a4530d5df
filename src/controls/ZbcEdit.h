// Edits that own a caption label (and, for TZbBtnDBEdit, a quick-pick
// button) which move, hide and grey out with the edit.
#pragma once

#include "controls/GSpdBtn.h"
#include "platform/ui/StdCtrls.h"

namespace zb {

enum class TLabelPosition { lpAbove, lpBelow, lpLeft, lpRight };
extern const EnumNames LabelPositionNames;

// What a data set tells about its fields; the data layer implements it, and
// labels that take captions from fields ask it.
class IFieldDisplayLabels {
public:
    virtual ~IFieldDisplayLabels() = default;
    // False when there is no field of that name.
    virtual bool FieldDisplayLabel(std::string_view field, std::string& label) const = 0;
};

// The label logic shared by the labelled edits.
class TEditLabelHost {
public:
    explicit TEditLabelHost(TWinControl* edit) : edit_(edit) {}
    void Create();
    TLabel* EditLabel() const { return label_; }
    std::string Caption() const;
    void SetCaption(const std::string& c);
    TLabelPosition LabelPosition() const { return position_; }
    void SetLabelPosition(TLabelPosition p);
    int LabelSpacing() const { return spacing_; }
    void SetLabelSpacing(int s);
    void Place();
    void Forget(TComponent* c) {
        if (c == label_) label_ = nullptr;
    }

private:
    TWinControl* edit_;
    TLabel* label_ = nullptr;
    TLabelPosition position_ = TLabelPosition::lpLeft;
    int spacing_ = 4;
};

#define ZB_LABELLED_EDIT_MEMBERS                                                                 \
public:                                                                                          \
    TLabel* EditLabel() const { return host_.EditLabel(); }                                      \
    std::string Caption() const { return host_.Caption(); }                                      \
    void SetCaption(const std::string& c) { host_.SetCaption(c); }                               \
    TLabelPosition LabelPosition() const { return host_.LabelPosition(); }                       \
    void SetLabelPosition(TLabelPosition p) { host_.SetLabelPosition(p); }                       \
    int LabelSpacing() const { return host_.LabelSpacing(); }                                    \
    void SetLabelSpacing(int s) { host_.SetLabelSpacing(s); }                                    \
    void SetParent(TWinControl* parent) override;                                                \
    void Notification(TComponent* component, TOperation operation) override;                     \
                                                                                                 \
protected:                                                                                       \
    void BoundsChanged(bool sized) override;                                                     \
    void VisibleChanged() override;                                                              \
    void EnabledChanged() override;                                                              \
    void Forgotten(TComponent* component);                                                       \
    TEditLabelHost host_{this};

class TZbEdit : public TEdit {
    ZB_CLASS(TZbEdit, TEdit)
    ZB_LABELLED_EDIT_MEMBERS
public:
    explicit TZbEdit(TComponent* owner = nullptr);
};

// The edit of a data field. DataSource is the component that names the data
// set (its published "DataSet"); the edit itself stores no field values.
class TZbDBEdit : public TEdit {
    ZB_CLASS(TZbDBEdit, TEdit)
    ZB_LABELLED_EDIT_MEMBERS
public:
    explicit TZbDBEdit(TComponent* owner = nullptr);
    const std::string& DataField() const { return dataField_; }
    // Inside the designer the caption becomes the field's display label.
    void SetDataField(const std::string& f);
    TComponent* DataSource() const { return dataSource_; }
    void SetDataSource(TComponent* ds);

private:
    std::string dataField_;
    TComponent* dataSource_ = nullptr;
};

class TZbBtnDBEdit : public TZbDBEdit {
    ZB_CLASS(TZbBtnDBEdit, TZbDBEdit)

public:
    explicit TZbBtnDBEdit(TComponent* owner = nullptr);
    TGSpeedButton* Button() const { return button_; }
    int ButtonSpacing() const { return buttonSpacing_; }
    void SetButtonSpacing(int s);
    int GlyphIndex() const { return glyphIndex_; }
    void SetGlyphIndex(int n);
    std::string ButtonHint() const { return button_ ? button_->Hint() : std::string(); }
    void SetButtonHint(const std::string& h) {
        if (button_) button_->SetHint(h);
    }
    // Called with the edit instead of the quick-pick message when set.
    TNotifyEvent OnDialog;

    void SetParent(TWinControl* parent) override;
    void Notification(TComponent* component, TOperation operation) override;
    void PlaceButton();

protected:
    void BoundsChanged(bool sized) override;
    void VisibleChanged() override;
    void EnabledChanged() override;

private:
    void ButtonClick(TObject*);
    TGSpeedButton* button_ = nullptr;
    int buttonSpacing_ = 2;
    int glyphIndex_ = 8;
};

// The display label of the field a control shows: the control's published
// "DataSource", that object's published "DataSet" (an IFieldDisplayLabels)
// and the control's "DataField" text. False when any link is missing.
bool ControlFieldDisplayLabel(TControl* control, std::string& label);

}  // namespace zb
