// The common controls: page control with tab sheets, list view with columns
// and items, tree view with nodes, tool bar with tool buttons.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/core/StringList.h"
#include "platform/ui/Controls.h"

namespace zb {

class TPageControl;
class TListView;
class TTreeView;
class TTreeNodes;
class TToolBar;
class TPopupMenu;
class TMenuItem;

// --- page control ----------------------------------------------------------

class TTabSheet : public TWinControl {
    ZB_CLASS(TTabSheet, TWinControl)

public:
    explicit TTabSheet(TComponent* owner = nullptr);

    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* pc);
    // The place among all pages (-1 without page control).
    int PageIndex() const;
    void SetPageIndex(int index);
    // The place among the visible tabs; -1 when its tab is hidden.
    int TabIndex() const;
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool on);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i) { imageIndex_ = i; }
    bool Highlighted() const { return highlighted_; }
    void SetHighlighted(bool on) { highlighted_ = on; }

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    void BeforeDestruction() override;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
    int imageIndex_ = -1;
    bool highlighted_ = false;
};

enum class TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum class TTabStyle { tsTabs, tsButtons, tsFlatButtons };

using TTabChangingEvent = TEvent<void(TObject* Sender, bool& AllowChange)>;
using TDrawTabEvent = TEvent<void(TObject* Control, int TabIndex, const TRect& Rect, bool Active)>;

// Pages with tabs. Tab indexes count visible tabs only. Setting ActivePage in
// code raises no events; the user's choice of a tab (SelectTab, or moving
// with SelectNextPage) asks OnChanging and then tells OnChange.
class TPageControl : public TWinControl {
    ZB_CLASS(TPageControl, TWinControl)

public:
    explicit TPageControl(TComponent* owner = nullptr);

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const;  // EComponentError outside the list
    TTabSheet* ActivePage() const { return activePage_; }
    // Null or a page of this control (EInvalidOperation otherwise). A page
    // whose tab is hidden is not activated.
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }
    void SetActivePageIndex(int index);
    int TabCount() const;
    int TabIndex() const { return activePage_ ? activePage_->TabIndex() : -1; }
    void SetTabIndex(int tabIndex) { SetActivePage(PageForTab(tabIndex)); }
    // The page shown by the tab at that visible index; null outside.
    TTabSheet* PageForTab(int tabIndex) const;
    TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
    // The user moves to the next or previous tab (wrapping); false when refused.
    bool SelectNextPage(bool goForward);
    // The user clicks the tab; false when OnChanging refused or the index is no tab.
    bool SelectTab(int tabIndex);

    TTabPosition TabPosition() const { return tabPosition_; }
    void SetTabPosition(TTabPosition p) { tabPosition_ = p; }
    TTabStyle Style() const { return style_; }
    void SetStyle(TTabStyle s) { style_ = s; }
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool on) { multiLine_ = on; }
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool on) { ownerDraw_ = on; }
    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int h);
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int w) { tabWidth_ = w; }
    TComponent* Images() const { return images_; }
    void SetImages(TComponent* images);
    // Where the pages sit: below (or beside) the tabs.
    TRect DisplayRect() const;

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;
    TDrawTabEvent OnDrawTab;

    void Notification(TComponent* component, TOperation operation) override;

protected:
    void AlignControls(TRect& rect) override;
    bool WantsKey(Word key, TShiftState shift) const override;
    void DoKeyDown(Word& key, TShiftState shift) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void ShowOnly(TTabSheet* page);
    bool UserChange(TTabSheet* page);

    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
    TTabPosition tabPosition_ = TTabPosition::tpTop;
    TTabStyle style_ = TTabStyle::tsTabs;
    bool multiLine_ = false;
    bool ownerDraw_ = false;
    int tabHeight_ = 0;
    int tabWidth_ = 0;
    TComponent* images_ = nullptr;
};

// --- list view -------------------------------------------------------------

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum class TSortType { stNone, stData, stText, stBoth };

class TListColumn : public TPersistent {
    ZB_CLASS(TListColumn, TPersistent)

public:
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c) { caption_ = c; }
    int Width() const { return width_; }
    void SetWidth(int w) { width_ = w; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a) { alignment_ = a; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on) { autoSize_ = on; }
    int Index() const { return index_; }
    std::intptr_t Tag = 0;

private:
    friend class TListColumns;
    std::string caption_;
    int width_ = 50;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool autoSize_ = false;
    int index_ = 0;
};

class TListColumns : public TPersistent {
    ZB_CLASS(TListColumns, TPersistent)

public:
    TListColumns() = default;
    ~TListColumns() override;
    int Count() const { return static_cast<int>(columns_.size()); }
    TListColumn* Items(int index) const;  // EComponentError outside the list
    TListColumn* Add();
    void Delete(int index);
    void Clear();

private:
    std::vector<TListColumn*> columns_;
};

class TListItem : public TPersistent {
    ZB_CLASS(TListItem, TPersistent)

public:
    explicit TListItem(TListView* owner);
    ~TListItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c);
    TStrings* SubItems() const { return subItems_; }
    bool Selected() const { return selected_; }
    void SetSelected(bool on);
    bool Focused() const;
    void SetFocused(bool on);
    bool Checked() const { return checked_; }
    void SetChecked(bool on) { checked_ = on; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i) { imageIndex_ = i; }
    void* Data = nullptr;
    int Index() const;
    TListView* ListView() const { return owner_; }
    // Takes the item out of its list and destroys it.
    void Delete();

private:
    friend class TListItems;
    friend class TListView;
    TListView* owner_;
    std::string caption_;
    TStringList* subItems_;
    bool selected_ = false;
    bool checked_ = false;
    int imageIndex_ = -1;
};

class TListItems : public TPersistent {
    ZB_CLASS(TListItems, TPersistent)

public:
    explicit TListItems(TListView* owner) : owner_(owner) {}
    ~TListItems() override;
    int Count() const { return static_cast<int>(items_.size()); }
    TListItem* Item(int index) const;  // EComponentError outside the list
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int IndexOf(const TListItem* item) const;
    void BeginUpdate() { ++updating_; }
    void EndUpdate();
    const std::vector<TListItem*>& List() const { return items_; }

private:
    friend class TListView;
    friend class TListItem;
    TListView* owner_;
    std::vector<TListItem*> items_;
    int updating_ = 0;
};

using TLVCompareEvent = TEvent<void(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare)>;
using TLVEditedEvent = TEvent<void(TObject* Sender, TListItem* Item, std::string& S)>;
using TLVEditingEvent = TEvent<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVSelectItemEvent = TEvent<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVColumnClickEvent = TEvent<void(TObject* Sender, TListColumn* Column)>;

// Rows with a caption and sub-items. Sorting compares with OnCompare when
// set, otherwise captions without regard to case; with SortType stText or
// stBoth the list stays sorted as captions change.
class TListView : public TWinControl {
    ZB_CLASS(TListView, TWinControl)

public:
    explicit TListView(TComponent* owner = nullptr);
    ~TListView() override;

    TListColumns* Columns() const { return columns_; }
    TListItems* Items() const { return items_; }
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle v);
    // The first selected item; null when none. Setting selects only that one.
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    TListItem* ItemFocused() const { return focused_; }
    void SetItemFocused(TListItem* item) { focused_ = item; }
    int ItemIndex() const;
    void SetItemIndex(int index);
    int SelCount() const;
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool on) { multiSelect_ = on; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on) { readOnly_ = on; }
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool on) { rowSelect_ = on; }
    bool Checkboxes() const { return checkboxes_; }
    void SetCheckboxes(bool on) { checkboxes_ = on; }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool on) { hideSelection_ = on; }
    TSortType SortType() const { return sortType_; }
    void SetSortType(TSortType s);
    TComponent* LargeImages() const { return largeImages_; }
    void SetLargeImages(TComponent* i);
    TComponent* SmallImages() const { return smallImages_; }
    void SetSmallImages(TComponent* i);

    // Sorts (stable) with OnCompare or by caption.
    void AlphaSort();
    // Sorts with `compare` (less than 0, 0, greater than 0).
    void CustomSort(const std::function<int(TListItem*, TListItem*)>& compare);
    // The user edits an item's caption: OnEditing may refuse, OnEdited may
    // change the text. False when refused (or the view is read-only).
    bool EditCaption(TListItem* item, const std::string& text);
    // The user clicks a column header.
    void ColumnClick(int index);
    TListItem* FindCaption(int start, const std::string& caption, bool partial, bool inclusive, bool wrap) const;

    TLVCompareEvent OnCompare;
    TLVEditedEvent OnEdited;
    TLVEditingEvent OnEditing;
    TLVSelectItemEvent OnSelectItem;
    TLVColumnClickEvent OnColumnClick;
    TNotifyEvent OnChange;

    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TListItem;
    friend class TListItems;
    void ItemCaptionChanged();
    void ItemRemoved(TListItem* item);

    TListColumns* columns_;
    TListItems* items_;
    TViewStyle viewStyle_ = TViewStyle::vsIcon;
    TListItem* focused_ = nullptr;
    bool multiSelect_ = false;
    bool readOnly_ = false;
    bool rowSelect_ = false;
    bool checkboxes_ = false;
    bool hideSelection_ = true;
    bool sorting_ = false;
    TSortType sortType_ = TSortType::stNone;
    TComponent* largeImages_ = nullptr;
    TComponent* smallImages_ = nullptr;
};

// --- tree view -------------------------------------------------------------

class TTreeNode : public TPersistent {
    ZB_CLASS(TTreeNode, TPersistent)

public:
    TTreeNode(TTreeNodes* owner, TTreeNode* parent);
    ~TTreeNode() override;

    const std::string& Text() const { return text_; }
    void SetText(const std::string& t) { text_ = t; }
    void* Data = nullptr;
    TTreeNode* Parent() const { return parent_; }
    int Count() const { return static_cast<int>(children_.size()); }
    TTreeNode* Item(int index) const;  // EComponentError outside the list
    int Index() const;
    int Level() const;
    bool HasChildren() const { return !children_.empty(); }
    bool Expanded() const { return expanded_; }
    void SetExpanded(bool on) { expanded_ = on; }
    void Expand(bool recurse);
    void Collapse(bool recurse);
    bool Selected() const;
    void SetSelected(bool on);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i) { imageIndex_ = i; }
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int i) { selectedIndex_ = i; }
    TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // The next node in depth-first order; null after the last.
    TTreeNode* GetNext() const;
    // Destroys the node and its children.
    void Delete();
    TTreeNodes* Owner() const { return owner_; }

private:
    friend class TTreeNodes;
    TTreeNodes* owner_;
    TTreeNode* parent_;
    std::vector<TTreeNode*> children_;
    std::string text_;
    bool expanded_ = false;
    int imageIndex_ = -1;
    int selectedIndex_ = -1;
};

class TTreeNodes : public TPersistent {
    ZB_CLASS(TTreeNodes, TPersistent)

public:
    explicit TTreeNodes(TTreeView* owner) : owner_(owner) {}
    ~TTreeNodes() override;

    // Every node, in depth-first order.
    int Count() const;
    TTreeNode* Item(int index) const;  // EComponentError outside
    TTreeNode* GetFirstNode() const { return roots_.empty() ? nullptr : roots_.front(); }
    // A node after the last sibling of `sibling` (a root when null).
    TTreeNode* Add(TTreeNode* sibling, const std::string& text);
    TTreeNode* AddObject(TTreeNode* sibling, const std::string& text, void* data);
    // A node after the last child of `parent` (a root when null).
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
    TTreeNode* AddChildObject(TTreeNode* parent, const std::string& text, void* data);
    void Delete(TTreeNode* node);
    void Clear();
    TTreeView* Owner() const { return owner_; }
    const std::vector<TTreeNode*>& Roots() const { return roots_; }

private:
    friend class TTreeNode;
    void Detach(TTreeNode* node);
    TTreeView* owner_;
    std::vector<TTreeNode*> roots_;
};

using TTVChangedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVEditedEvent = TEvent<void(TObject* Sender, TTreeNode* Node, std::string& S)>;

class TTreeView : public TWinControl {
    ZB_CLASS(TTreeView, TWinControl)

public:
    explicit TTreeView(TComponent* owner = nullptr);
    ~TTreeView() override;

    TTreeNodes* Items() const { return items_; }
    TTreeNode* Selected() const { return selected_; }
    // The user's (or the code's) choice: OnChanging may refuse, then OnChange.
    void SetSelected(TTreeNode* node);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on) { readOnly_ = on; }
    bool ShowLines() const { return showLines_; }
    void SetShowLines(bool on) { showLines_ = on; }
    bool AutoExpand() const { return autoExpand_; }
    void SetAutoExpand(bool on) { autoExpand_ = on; }
    void FullExpand();
    void FullCollapse();
    bool EditText(TTreeNode* node, const std::string& text);

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVEditedEvent OnEdited;

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    TTreeNodes* items_;
    TTreeNode* selected_ = nullptr;
    bool readOnly_ = false;
    bool showLines_ = true;
    bool autoExpand_ = false;
};

// --- tool bar --------------------------------------------------------------

enum class TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

// A button on a tool bar. A check button toggles Down; grouped check buttons
// beside each other act as radio buttons (one down, unless AllowAllUp).
class TToolButton : public TGraphicControl {
    ZB_CLASS(TToolButton, TGraphicControl)

public:
    explicit TToolButton(TComponent* owner = nullptr);

    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle s);
    bool Down() const { return down_; }
    void SetDown(bool on);
    bool Grouped() const { return grouped_; }
    void SetGrouped(bool on) { grouped_ = on; }
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool on) { allowAllUp_ = on; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i) { imageIndex_ = i; }
    bool Wrap() const { return wrap_; }
    void SetWrap(bool on) { wrap_ = on; }
    TPopupMenu* DropdownMenu() const { return dropdownMenu_; }
    void SetDropdownMenu(TPopupMenu* m);
    int Index() const;
    void SetParent(TWinControl* parent) override;
    void Click() override;

    void Notification(TComponent* component, TOperation operation) override;

private:
    std::vector<TToolButton*> GroupMembers();

    TToolButtonStyle style_ = TToolButtonStyle::tbsButton;
    bool down_ = false;
    bool grouped_ = false;
    bool allowAllUp_ = false;
    int imageIndex_ = -1;
    bool wrap_ = false;
    TPopupMenu* dropdownMenu_ = nullptr;
};

// Lays its buttons out in a row, in the order they were added.
class TToolBar : public TWinControl {
    ZB_CLASS(TToolBar, TWinControl)

public:
    explicit TToolBar(TComponent* owner = nullptr);

    int ButtonCount() const;
    TToolButton* Buttons(int index) const;  // EComponentError outside
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int w);
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int h);
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool on) { showCaptions_ = on; }
    bool Flat() const { return flat_; }
    void SetFlat(bool on) { flat_ = on; }
    bool List() const { return list_; }
    void SetList(bool on) { list_ = on; }
    TComponent* Images() const { return images_; }
    void SetImages(TComponent* images);

    void Notification(TComponent* component, TOperation operation) override;

protected:
    void AlignControls(TRect& rect) override;

private:
    int buttonWidth_ = 23;
    int buttonHeight_ = 22;
    bool showCaptions_ = false;
    bool flat_ = false;
    bool list_ = false;
    TComponent* images_ = nullptr;
};

}  // namespace zb
