// Small component classes standing for the controls a language file reaches:
// a form, edits with fonts, memos, combo boxes, a list view with columns and
// items, a tree view and a grid with a column collection. Include from one
// source file per program (the class tables are defined here).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Component.h"
#include "platform/core/PathItems.h"
#include "platform/core/Published.h"
#include "platform/core/StringList.h"
#include "platform/core/TextUtils.h"

namespace zb::langtest {

const EnumNames kAlignmentNames = {"taLeftJustify", "taRightJustify", "taCenter"};
const EnumNames kFontStyleNames = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

// Stands for the class library's data module: a root a file applies to.
class TDataModule : public TComponent {
    ZB_CLASS(TDataModule, TComponent)
public:
    using TComponent::TComponent;
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c) { caption_ = c; }
    int Color() const { return color_; }
    void SetColor(int c) { color_ = c; }

private:
    std::string caption_;
    int color_ = 0;
};

class TTestFont : public TPersistent {
    ZB_CLASS(TTestFont, TPersistent)
public:
    const std::string& Name() const { return name_; }
    void SetName(const std::string& n) { name_ = n; }
    int Size() const { return size_; }
    void SetSize(int s) { size_ = s; }
    unsigned Style() const { return style_; }
    void SetStyle(unsigned s) { style_ = s; }
    int Color() const { return color_; }
    void SetColor(int c) { color_ = c; }

private:
    std::string name_ = "SimSun";
    int size_ = 9;
    unsigned style_ = 0;
    int color_ = 0;
};

class TTestEdit : public TComponent {
    ZB_CLASS(TTestEdit, TComponent)
public:
    using TComponent::TComponent;
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c) { caption_ = c; }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& h) { hint_ = h; }
    int Width() const { return width_; }
    void SetWidth(int w) { width_ = w; }
    int Alignment() const { return align_; }
    void SetAlignment(int a) { align_ = a; }
    bool Checked() const { return checked_; }
    void SetChecked(bool c) { checked_ = c; }
    int Color() const { return color_; }
    void SetColor(int c) { color_ = c; }
    int Cursor() const { return cursor_; }
    void SetCursor(int c) { cursor_ = c; }
    TTestFont* Font() const { return font_.get(); }
    TStringList* Lines() const { return lines_.get(); }

private:
    std::string caption_, hint_;
    int width_ = 0, align_ = 0, color_ = 0, cursor_ = 0;
    bool checked_ = false;
    std::unique_ptr<TTestFont> font_ = std::make_unique<TTestFont>();
    std::unique_ptr<TStringList> lines_ = std::make_unique<TStringList>();
};

// Changing the items loses the selection, as a real combo box does.
class TTestComboBox : public TComponent {
    ZB_CLASS(TTestComboBox, TComponent)
public:
    explicit TTestComboBox(TComponent* owner = nullptr) : TComponent(owner) {
        items_->OnChange = [this](TObject*) { itemIndex_ = -1; };
    }
    TStringList* Items() const { return items_.get(); }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int i) { itemIndex_ = i >= -1 && i < items_->Count() ? i : -1; }

private:
    std::unique_ptr<TStringList> items_ = std::make_unique<TStringList>();
    int itemIndex_ = -1;
};

class TTestColumn : public TPersistent {
    ZB_CLASS(TTestColumn, TPersistent)
public:
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c) { caption_ = c; }
    int Width() const { return width_; }
    void SetWidth(int w) { width_ = w; }

private:
    std::string caption_;
    int width_ = 50;
};

class TTestListItem : public TPersistent {
    ZB_CLASS(TTestListItem, TPersistent)
public:
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c) { caption_ = c; }
    TStringList* SubItems() const { return subItems_.get(); }

private:
    std::string caption_;
    std::unique_ptr<TStringList> subItems_ = std::make_unique<TStringList>();
};

template <class Item>
std::optional<TObject*> ItemAt(const std::vector<std::unique_ptr<Item>>& items, int index) {
    if (index < 0 || index >= static_cast<int>(items.size())) return static_cast<TObject*>(nullptr);
    return static_cast<TObject*>(items[index].get());
}

// The list view's items as an object of their own, standing for its list.
class TTestListItems : public TPersistent, public IPathItems {
    ZB_CLASS(TTestListItems, TPersistent)
public:
    std::vector<std::unique_ptr<TTestListItem>> Items;
    std::optional<TObject*> PathItem(std::string_view list, int) override {
        if (SameText(list, "Items")) return static_cast<TObject*>(this);
        return std::nullopt;
    }
    int Count() const { return static_cast<int>(Items.size()); }
};

class TTestListView : public TComponent, public IPathItems {
    ZB_CLASS(TTestListView, TComponent)
public:
    using TComponent::TComponent;
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c) { caption_ = c; }
    TTestListItems* Items() const { return items_.get(); }
    std::vector<std::unique_ptr<TTestColumn>> Columns;

    TTestColumn& AddColumn(const std::string& caption) {
        Columns.push_back(std::make_unique<TTestColumn>());
        Columns.back()->SetCaption(caption);
        return *Columns.back();
    }
    TTestListItem& AddItem(const std::string& caption) {
        items_->Items.push_back(std::make_unique<TTestListItem>());
        items_->Items.back()->SetCaption(caption);
        return *items_->Items.back();
    }
    std::optional<TObject*> PathItem(std::string_view list, int index) override {
        if (SameText(list, "Columns")) return ItemAt(Columns, index);
        if (SameText(list, "Items")) return ItemAt(items_->Items, index);
        return std::nullopt;
    }

private:
    std::string caption_;
    std::unique_ptr<TTestListItems> items_ = std::make_unique<TTestListItems>();
};

class TTestTreeNode : public TPersistent {
    ZB_CLASS(TTestTreeNode, TPersistent)
public:
    const std::string& Text() const { return text_; }
    void SetText(const std::string& t) { text_ = t; }

private:
    std::string text_;
};

class TTestTreeView : public TComponent, public IPathItems {
    ZB_CLASS(TTestTreeView, TComponent)
public:
    using TComponent::TComponent;
    std::vector<std::unique_ptr<TTestTreeNode>> Nodes;
    TTestTreeNode& AddNode(const std::string& text) {
        Nodes.push_back(std::make_unique<TTestTreeNode>());
        Nodes.back()->SetText(text);
        return *Nodes.back();
    }
    std::optional<TObject*> PathItem(std::string_view list, int index) override {
        if (SameText(list, "Items")) return ItemAt(Nodes, index);
        return std::nullopt;
    }
};

// A collection: its items by index whatever the list is called.
class TTestCollection : public TPersistent, public IPathItems {
    ZB_CLASS(TTestCollection, TPersistent)
public:
    std::vector<std::unique_ptr<TTestColumn>> Items;
    std::optional<TObject*> PathItem(std::string_view, int index) override { return ItemAt(Items, index); }
};

class TTestGrid : public TComponent {
    ZB_CLASS(TTestGrid, TComponent)
public:
    using TComponent::TComponent;
    TTestCollection* Columns() const { return columns_.get(); }

private:
    std::unique_ptr<TTestCollection> columns_ = std::make_unique<TTestCollection>();
};

ZB_PUBLISHED(TDataModule){
    prop::String("Caption", &TDataModule::Caption, &TDataModule::SetCaption),
    prop::Integer("Color", &TDataModule::Color, &TDataModule::SetColor, "TColor"),
};
ZB_PUBLISHED(TTestFont){
    prop::String("Name", &TTestFont::Name, &TTestFont::SetName, "TFontName"),
    prop::Integer("Size", &TTestFont::Size, &TTestFont::SetSize),
    prop::Set("Style", &TTestFont::Style, &TTestFont::SetStyle, kFontStyleNames, "TFontStyles"),
    prop::Integer("Color", &TTestFont::Color, &TTestFont::SetColor, "TColor"),
};
ZB_PUBLISHED(TTestEdit){
    prop::String("Caption", &TTestEdit::Caption, &TTestEdit::SetCaption),
    prop::String("Hint", &TTestEdit::Hint, &TTestEdit::SetHint),
    prop::Integer("Width", &TTestEdit::Width, &TTestEdit::SetWidth),
    prop::Enum("Alignment", &TTestEdit::Alignment, &TTestEdit::SetAlignment, kAlignmentNames, "TAlignment"),
    prop::Bool("Checked", &TTestEdit::Checked, &TTestEdit::SetChecked),
    prop::Integer("Color", &TTestEdit::Color, &TTestEdit::SetColor, "TColor"),
    prop::Integer("Cursor", &TTestEdit::Cursor, &TTestEdit::SetCursor, "TCursor"),
    prop::Class("Font", &TTestEdit::Font),
    prop::Class("Lines", &TTestEdit::Lines),
};
ZB_PUBLISHED(TTestComboBox){
    prop::Class("Items", &TTestComboBox::Items),
    prop::Integer("ItemIndex", &TTestComboBox::ItemIndex, &TTestComboBox::SetItemIndex),
};
ZB_PUBLISHED(TTestColumn){
    prop::String("Caption", &TTestColumn::Caption, &TTestColumn::SetCaption),
    prop::Integer("Width", &TTestColumn::Width, &TTestColumn::SetWidth),
};
ZB_PUBLISHED(TTestListItem){
    prop::String("Caption", &TTestListItem::Caption, &TTestListItem::SetCaption),
    prop::Class("SubItems", &TTestListItem::SubItems),
};
ZB_PUBLISHED(TTestListItems){};
ZB_PUBLISHED(TTestListView){
    prop::String("Caption", &TTestListView::Caption, &TTestListView::SetCaption),
    prop::Class("Items", &TTestListView::Items),
};
ZB_PUBLISHED(TTestTreeNode){
    prop::String("Text", &TTestTreeNode::Text, &TTestTreeNode::SetText),
};
ZB_PUBLISHED(TTestTreeView){};
ZB_PUBLISHED(TTestCollection){};
ZB_PUBLISHED(TTestGrid){
    prop::Class("Columns", &TTestGrid::Columns),
};

}  // namespace zb::langtest
