#include "platform/ui/ComCtrls.h"

#include <algorithm>

#include "platform/core/Published.h"
#include "platform/core/TextUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"

namespace zb {

namespace {
const EnumNames kTabPositionNames = {"tpTop", "tpBottom", "tpLeft", "tpRight"};
const EnumNames kTabStyleNames = {"tsTabs", "tsButtons", "tsFlatButtons"};
const EnumNames kViewStyleNames = {"vsIcon", "vsSmallIcon", "vsList", "vsReport"};
const EnumNames kSortTypeNames = {"stNone", "stData", "stText", "stBoth"};
const EnumNames kToolButtonStyleNames = {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"};

[[noreturn]] void IndexError(const char* what, int index) {
    throw EComponentError(std::string(what) + " index out of bounds (" + std::to_string(index) + ")");
}

// Non-owning references to image lists and menus follow free notification.
void SwapReference(TComponent* self, TComponent*& field, TComponent* value) {
    if (value == field) return;
    if (field) self->RemoveFreeNotification(field);
    field = value;
    if (value) self->FreeNotification(value);
}
}  // namespace

ZB_PUBLISHED(TTabSheet){
    prop::String("Caption", &TTabSheet::Caption, &TTabSheet::SetCaption, "TCaption"),
    prop::Bool("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible),
    prop::Integer("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex),
    prop::Integer("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex, "TImageIndex"),
    prop::Bool("Highlighted", &TTabSheet::Highlighted, &TTabSheet::SetHighlighted),
    prop::Event("OnShow", &TTabSheet::OnShow),
    prop::Event("OnHide", &TTabSheet::OnHide),
};
ZB_PUBLISHED(TPageControl){
    prop::Class("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage),
    prop::Enum("TabPosition", &TPageControl::TabPosition, &TPageControl::SetTabPosition, kTabPositionNames, "TTabPosition"),
    prop::Enum("Style", &TPageControl::Style, &TPageControl::SetStyle, kTabStyleNames, "TTabStyle"),
    prop::Bool("MultiLine", &TPageControl::MultiLine, &TPageControl::SetMultiLine),
    prop::Bool("OwnerDraw", &TPageControl::OwnerDraw, &TPageControl::SetOwnerDraw),
    prop::Integer("TabHeight", &TPageControl::TabHeight, &TPageControl::SetTabHeight, "Smallint"),
    prop::Integer("TabWidth", &TPageControl::TabWidth, &TPageControl::SetTabWidth, "Smallint"),
    prop::Event("OnChange", &TPageControl::OnChange),
    prop::Event("OnChanging", &TPageControl::OnChanging, "TTabChangingEvent"),
    prop::Event("OnDrawTab", &TPageControl::OnDrawTab, "TDrawTabEvent"),
};

// --- TTabSheet -------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) { SetVisibleFlag(false); }

void TTabSheet::BeforeDestruction() {
    if (pageControl_) pageControl_->RemovePage(this);
    TWinControl::BeforeDestruction();
}

void TTabSheet::SetPageControl(TPageControl* pc) {
    if (pc == pageControl_) return;
    if (pageControl_) pageControl_->RemovePage(this);
    SetParent(pc);
    if (pc) pc->InsertPage(this);
}

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    auto& p = pageControl_->pages_;
    return static_cast<int>(std::find(p.begin(), p.end(), this) - p.begin());
}

void TTabSheet::SetPageIndex(int index) {
    if (!pageControl_) return;
    auto& p = pageControl_->pages_;
    p.erase(std::find(p.begin(), p.end(), this));
    index = std::clamp(index, 0, static_cast<int>(p.size()));
    p.insert(p.begin() + index, this);
}

int TTabSheet::TabIndex() const {
    if (!pageControl_ || !tabVisible_) return -1;
    int i = 0;
    for (TTabSheet* p : pageControl_->pages_) {
        if (p == this) return i;
        if (p->tabVisible_) ++i;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool on) {
    if (on == tabVisible_) return;
    tabVisible_ = on;
    Changed("TabVisible");
    if (!on && pageControl_ && pageControl_->activePage_ == this)
        pageControl_->SetActivePage(pageControl_->FindNextPage(this, true, true));
}

// --- TPageControl ----------------------------------------------------------

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount()) IndexError("Page", index);
    return pages_[static_cast<size_t>(index)];
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    page->pageControl_ = this;
    page->SetAlign(TAlign::alClient);
    if (!activePage_ && page->TabVisible()) SetActivePage(page);
    else if (page != activePage_) page->SetVisibleFlag(false);
    Realign();
}

void TPageControl::RemovePage(TTabSheet* page) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    if (IsDestroying()) {
        // Pages going with their control show nothing in between.
        pages_.erase(it);
        page->pageControl_ = nullptr;
        if (activePage_ == page) activePage_ = nullptr;
        return;
    }
    TTabSheet* next = activePage_ == page ? FindNextPage(page, true, true) : activePage_;
    if (next == page) next = nullptr;
    pages_.erase(it);
    page->pageControl_ = nullptr;
    if (activePage_ == page) {
        activePage_ = nullptr;
        if (next) SetActivePage(next);
    }
}

int TPageControl::TabCount() const {
    return static_cast<int>(std::count_if(pages_.begin(), pages_.end(), [](TTabSheet* p) { return p->TabVisible(); }));
}

TTabSheet* TPageControl::PageForTab(int tabIndex) const {
    if (tabIndex < 0) return nullptr;
    for (TTabSheet* p : pages_)
        if (p->TabVisible() && tabIndex-- == 0) return p;
    return nullptr;
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const {
    if (pages_.empty()) return nullptr;
    int n = PageCount();
    auto it = std::find(pages_.begin(), pages_.end(), current);
    int start = it == pages_.end() ? (goForward ? n - 1 : 0) : static_cast<int>(it - pages_.begin());
    int i = start;
    do {
        i = goForward ? (i + 1) % n : (i == 0 ? n - 1 : i - 1);
        TTabSheet* p = pages_[static_cast<size_t>(i)];
        if (!checkTabVisible || p->TabVisible()) return p;
    } while (i != start);
    return nullptr;
}

void TPageControl::ShowOnly(TTabSheet* page) {
    TTabSheet* old = activePage_;
    activePage_ = page;
    if (page) {
        page->SetVisibleFlag(true);
        page->Changed("Visible");
        page->OnShow(page);
    }
    if (old && old != page) {
        old->SetVisibleFlag(false);
        old->Changed("Visible");
        old->OnHide(old);
    }
    Realign();
    Changed("ActivePage");
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->pageControl_ != this) throw EInvalidOperation("The page belongs to another page control");
    if (page && !page->TabVisible()) return;
    if (page == activePage_) return;
    // The focus may not stay on a page going out of sight; when its exit
    // handlers keep it there, the page stays.
    TCustomForm* form = ParentForm();
    if (form && activePage_ && activePage_->ContainsControl(form->ActiveControl())) {
        if (form->Active() && CanFocus()) {
            if (!form->SetFocusedControl(this) || form->ActiveControl() != this) return;
        } else {
            form->DefocusControl(activePage_, false);
        }
    }
    ShowOnly(page);
}

void TPageControl::SetActivePageIndex(int index) {
    SetActivePage(index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)] : nullptr);
}

bool TPageControl::UserChange(TTabSheet* page) {
    if (!page || page == activePage_ || !Enabled()) return false;
    bool allow = true;
    OnChanging(this, allow);
    if (!allow) return false;
    TTabSheet* before = activePage_;
    SetActivePage(page);
    if (activePage_ == before) return false;
    OnChange(this);
    return true;
}

bool TPageControl::SelectTab(int tabIndex) { return UserChange(PageForTab(tabIndex)); }

bool TPageControl::SelectNextPage(bool goForward) { return UserChange(FindNextPage(activePage_, goForward, true)); }

void TPageControl::SetTabHeight(int h) {
    tabHeight_ = std::max(h, 0);
    Realign();
}

void TPageControl::SetImages(TComponent* images) { SwapReference(this, images_, images); }

void TPageControl::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

TRect TPageControl::DisplayRect() const {
    int tab = tabHeight_ > 0 ? tabHeight_ : TextHeight(*Font()) + 8;
    TRect r = Rect(4, 4, std::max(Width() - 4, 4), std::max(Height() - 4, 4));
    switch (tabPosition_) {
        case TTabPosition::tpTop: r.Top += tab; break;
        case TTabPosition::tpBottom: r.Bottom -= tab; break;
        case TTabPosition::tpLeft: r.Left += tab; break;
        case TTabPosition::tpRight: r.Right -= tab; break;
    }
    r.Right = std::max(r.Right, r.Left);
    r.Bottom = std::max(r.Bottom, r.Top);
    return r;
}

void TPageControl::AlignControls(TRect& rect) {
    rect = DisplayRect();
    // Every page takes the display area, shown or not.
    for (TTabSheet* p : pages_) p->SetBoundsRect(rect);
    TWinControl::AlignControls(rect);
}

bool TPageControl::WantsKey(Word key, TShiftState) const { return key == VK_LEFT || key == VK_RIGHT; }

void TPageControl::DoKeyDown(Word& key, TShiftState shift) {
    if (key == VK_LEFT || key == VK_RIGHT) {
        SelectNextPage(key == VK_RIGHT);
        key = 0;
    }
}

// --- list view -------------------------------------------------------------

ZB_PUBLISHED(TListColumn){
    prop::String("Caption", &TListColumn::Caption, &TListColumn::SetCaption),
    prop::Integer("Width", &TListColumn::Width, &TListColumn::SetWidth),
    prop::Enum("Alignment", &TListColumn::Alignment, &TListColumn::SetAlignment, AlignmentNames, "TAlignment"),
    prop::Bool("AutoSize", &TListColumn::AutoSize, &TListColumn::SetAutoSize),
};
ZB_PUBLISHED(TListColumns){};
ZB_PUBLISHED(TListItem){
    prop::String("Caption", &TListItem::Caption, &TListItem::SetCaption),
    prop::Class("SubItems", &TListItem::SubItems),
};
ZB_PUBLISHED(TListItems){};
ZB_PUBLISHED(TListView){
    prop::Class("Columns", &TListView::Columns),
    prop::Class("Items", &TListView::Items),
    prop::Enum("ViewStyle", &TListView::ViewStyle, &TListView::SetViewStyle, kViewStyleNames, "TViewStyle"),
    prop::Bool("MultiSelect", &TListView::MultiSelect, &TListView::SetMultiSelect),
    prop::Bool("ReadOnly", &TListView::ReadOnly, &TListView::SetReadOnly),
    prop::Bool("RowSelect", &TListView::RowSelect, &TListView::SetRowSelect),
    prop::Bool("Checkboxes", &TListView::Checkboxes, &TListView::SetCheckboxes),
    prop::Bool("HideSelection", &TListView::HideSelection, &TListView::SetHideSelection),
    prop::Enum("SortType", &TListView::SortType, &TListView::SetSortType, kSortTypeNames, "TSortType"),
    prop::Class("LargeImages", &TListView::LargeImages, &TListView::SetLargeImages),
    prop::Class("SmallImages", &TListView::SmallImages, &TListView::SetSmallImages),
    prop::Event("OnCompare", &TListView::OnCompare, "TLVCompareEvent"),
    prop::Event("OnEdited", &TListView::OnEdited, "TLVEditedEvent"),
    prop::Event("OnEditing", &TListView::OnEditing, "TLVEditingEvent"),
    prop::Event("OnSelectItem", &TListView::OnSelectItem, "TLVSelectItemEvent"),
    prop::Event("OnColumnClick", &TListView::OnColumnClick, "TLVColumnClickEvent"),
    prop::Event("OnChange", &TListView::OnChange),
};

TListColumns::~TListColumns() { Clear(); }

TListColumn* TListColumns::Items(int index) const {
    if (index < 0 || index >= Count()) IndexError("Column", index);
    return columns_[static_cast<size_t>(index)];
}

TListColumn* TListColumns::Add() {
    auto* c = new TListColumn;
    c->index_ = Count();
    columns_.push_back(c);
    return c;
}

void TListColumns::Delete(int index) {
    TListColumn* c = Items(index);
    columns_.erase(columns_.begin() + index);
    c->Free();
    for (int i = 0; i < Count(); ++i) columns_[static_cast<size_t>(i)]->index_ = i;
}

void TListColumns::Clear() {
    while (!columns_.empty()) {
        TListColumn* c = columns_.back();
        columns_.pop_back();
        c->Free();
    }
}

TListItem::TListItem(TListView* owner) : owner_(owner), subItems_(new TStringList) {}
TListItem::~TListItem() { subItems_->Free(); }

void TListItem::SetCaption(const std::string& c) {
    if (c == caption_) return;
    caption_ = c;
    if (owner_) owner_->ItemCaptionChanged();
}

void TListItem::SetSelected(bool on) {
    if (on == selected_) return;
    if (on && owner_ && !owner_->multiSelect_)
        for (TListItem* i : owner_->items_->items_)
            if (i != this && i->selected_) {
                i->selected_ = false;
                owner_->OnSelectItem(owner_, i, false);
            }
    selected_ = on;
    if (owner_) {
        if (on) owner_->focused_ = this;
        owner_->OnSelectItem(owner_, this, on);
    }
}

bool TListItem::Focused() const { return owner_ && owner_->focused_ == this; }
void TListItem::SetFocused(bool on) {
    if (!owner_) return;
    if (on) owner_->focused_ = this;
    else if (owner_->focused_ == this) owner_->focused_ = nullptr;
}

int TListItem::Index() const { return owner_ ? owner_->items_->IndexOf(this) : -1; }

void TListItem::Delete() {
    if (owner_) {
        int i = Index();
        if (i >= 0) {
            owner_->items_->Delete(i);
            return;
        }
    }
    Free();
}

TListItems::~TListItems() {
    for (TListItem* i : items_) i->Free();
    items_.clear();
}

TListItem* TListItems::Item(int index) const {
    if (index < 0 || index >= Count()) IndexError("List item", index);
    return items_[static_cast<size_t>(index)];
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int index) {
    auto* item = new TListItem(owner_);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    return item;
}

void TListItems::Delete(int index) {
    TListItem* item = Item(index);
    items_.erase(items_.begin() + index);
    owner_->ItemRemoved(item);
    item->owner_ = nullptr;
    item->Free();
}

void TListItems::Clear() {
    while (!items_.empty()) Delete(Count() - 1);
}

int TListItems::IndexOf(const TListItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TListItems::EndUpdate() {
    if (updating_ > 0 && --updating_ == 0) owner_->ItemCaptionChanged();
}

TListView::TListView(TComponent* owner)
    : TWinControl(owner), columns_(new TListColumns), items_(new TListItems(this)) {
    SetBounds(0, 0, 250, 150);
    SetColor(clWindow);
    SetTabStop(true);
}

TListView::~TListView() {
    items_->Free();
    columns_->Free();
}

void TListView::SetViewStyle(TViewStyle v) {
    if (v == viewStyle_) return;
    viewStyle_ = v;
    Changed("ViewStyle");
}

TListItem* TListView::Selected() const {
    for (TListItem* i : items_->items_)
        if (i->selected_) return i;
    return nullptr;
}

void TListView::SetSelected(TListItem* item) {
    for (TListItem* i : items_->items_)
        if (i != item && i->selected_) i->SetSelected(false);
    if (item && item->owner_ == this) item->SetSelected(true);
}

int TListView::ItemIndex() const {
    TListItem* s = Selected();
    return s ? s->Index() : -1;
}

void TListView::SetItemIndex(int index) {
    SetSelected(index >= 0 && index < items_->Count() ? items_->Item(index) : nullptr);
}

int TListView::SelCount() const {
    return static_cast<int>(std::count_if(items_->items_.begin(), items_->items_.end(), [](TListItem* i) { return i->selected_; }));
}

void TListView::SetSortType(TSortType s) {
    if (s == sortType_) return;
    sortType_ = s;
    if (s != TSortType::stNone) AlphaSort();
}

void TListView::SetLargeImages(TComponent* i) { SwapReference(this, largeImages_, i); }
void TListView::SetSmallImages(TComponent* i) { SwapReference(this, smallImages_, i); }

void TListView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == largeImages_) largeImages_ = nullptr;
    if (component == smallImages_) smallImages_ = nullptr;
}

void TListView::CustomSort(const std::function<int(TListItem*, TListItem*)>& compare) {
    if (sorting_) return;
    sorting_ = true;
    try {
        std::stable_sort(items_->items_.begin(), items_->items_.end(),
                         [&](TListItem* a, TListItem* b) { return compare(a, b) < 0; });
    } catch (...) {
        sorting_ = false;
        throw;
    }
    sorting_ = false;
    Changed("Items");
}

void TListView::AlphaSort() {
    if (OnCompare.Assigned()) {
        CustomSort([this](TListItem* a, TListItem* b) {
            int result = 0;
            OnCompare(this, a, b, 0, result);
            return result;
        });
        return;
    }
    CustomSort([](TListItem* a, TListItem* b) { return CompareText(a->Caption(), b->Caption()); });
}

void TListView::ItemCaptionChanged() {
    if (items_->updating_ == 0 && (sortType_ == TSortType::stText || sortType_ == TSortType::stBoth)) AlphaSort();
}

void TListView::ItemRemoved(TListItem* item) {
    if (focused_ == item) focused_ = nullptr;
}

bool TListView::EditCaption(TListItem* item, const std::string& text) {
    if (!item || item->owner_ != this || readOnly_) return false;
    bool allow = true;
    OnEditing(this, item, allow);
    if (!allow) return false;
    std::string s = text;
    OnEdited(this, item, s);
    item->SetCaption(s);
    return true;
}

void TListView::ColumnClick(int index) { OnColumnClick(this, columns_->Items(index)); }

TListItem* TListView::FindCaption(int start, const std::string& caption, bool partial, bool inclusive, bool wrap) const {
    int n = items_->Count();
    if (n == 0) return nullptr;
    int first = std::clamp(inclusive ? start : start + 1, 0, n);
    for (int step = 0; step < n; ++step) {
        int i = first + step;
        if (i >= n) {
            if (!wrap) return nullptr;
            i -= n;
        }
        TListItem* item = items_->items_[static_cast<size_t>(i)];
        if (partial ? StartsText(caption, item->Caption()) : SameText(caption, item->Caption())) return item;
    }
    return nullptr;
}

// --- tree view -------------------------------------------------------------

ZB_PUBLISHED(TTreeNode){
    prop::String("Text", &TTreeNode::Text, &TTreeNode::SetText),
};
ZB_PUBLISHED(TTreeNodes){};
ZB_PUBLISHED(TTreeView){
    prop::Class("Items", &TTreeView::Items),
    prop::Bool("ReadOnly", &TTreeView::ReadOnly, &TTreeView::SetReadOnly),
    prop::Bool("ShowLines", &TTreeView::ShowLines, &TTreeView::SetShowLines),
    prop::Bool("AutoExpand", &TTreeView::AutoExpand, &TTreeView::SetAutoExpand),
    prop::Event("OnChange", &TTreeView::OnChange, "TTVChangedEvent"),
    prop::Event("OnChanging", &TTreeView::OnChanging, "TTVChangingEvent"),
    prop::Event("OnEdited", &TTreeView::OnEdited, "TTVEditedEvent"),
};

TTreeNode::TTreeNode(TTreeNodes* owner, TTreeNode* parent) : owner_(owner), parent_(parent) {}

TTreeNode::~TTreeNode() {
    for (TTreeNode* c : children_) {
        c->parent_ = nullptr;
        c->Free();
    }
}

TTreeNode* TTreeNode::Item(int index) const {
    if (index < 0 || index >= Count()) IndexError("Tree node", index);
    return children_[static_cast<size_t>(index)];
}

int TTreeNode::Index() const {
    const auto& siblings = parent_ ? parent_->children_ : owner_->roots_;
    auto it = std::find(siblings.begin(), siblings.end(), this);
    return it == siblings.end() ? -1 : static_cast<int>(it - siblings.begin());
}

int TTreeNode::Level() const {
    int l = 0;
    for (TTreeNode* p = parent_; p; p = p->parent_) ++l;
    return l;
}

void TTreeNode::Expand(bool recurse) {
    expanded_ = true;
    if (recurse)
        for (TTreeNode* c : children_) c->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
    expanded_ = false;
    if (recurse)
        for (TTreeNode* c : children_) c->Collapse(true);
}

bool TTreeNode::Selected() const { return owner_ && owner_->owner_ && owner_->owner_->selected_ == this; }

void TTreeNode::SetSelected(bool on) {
    TTreeView* view = owner_ ? owner_->owner_ : nullptr;
    if (!view) return;
    if (on) view->SetSelected(this);
    else if (view->selected_ == this) view->SetSelected(nullptr);
}

TTreeNode* TTreeNode::GetNextSibling() const {
    const auto& s = parent_ ? parent_->children_ : owner_->roots_;
    int i = Index();
    return i >= 0 && i + 1 < static_cast<int>(s.size()) ? s[static_cast<size_t>(i + 1)] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
    const auto& s = parent_ ? parent_->children_ : owner_->roots_;
    int i = Index();
    return i > 0 ? s[static_cast<size_t>(i - 1)] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
    if (!children_.empty()) return children_.front();
    for (const TTreeNode* n = this; n; n = n->parent_)
        if (TTreeNode* s = n->GetNextSibling()) return s;
    return nullptr;
}

void TTreeNode::Delete() { owner_->Delete(this); }

TTreeNodes::~TTreeNodes() { Clear(); }

int TTreeNodes::Count() const {
    int n = 0;
    for (TTreeNode* node = GetFirstNode(); node; node = node->GetNext()) ++n;
    return n;
}

TTreeNode* TTreeNodes::Item(int index) const {
    int i = 0;
    for (TTreeNode* node = GetFirstNode(); node; node = node->GetNext())
        if (i++ == index) return node;
    IndexError("Tree node", index);
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) { return AddObject(sibling, text, nullptr); }

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const std::string& text, void* data) {
    return AddChildObject(sibling ? sibling->parent_ : nullptr, text, data);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) { return AddChildObject(parent, text, nullptr); }

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const std::string& text, void* data) {
    if (parent && parent->owner_ != this) throw EInvalidOperation("The node belongs to another tree");
    auto* node = new TTreeNode(this, parent);
    node->text_ = text;
    node->Data = data;
    (parent ? parent->children_ : roots_).push_back(node);
    return node;
}

void TTreeNodes::Detach(TTreeNode* node) {
    auto& s = node->parent_ ? node->parent_->children_ : roots_;
    s.erase(std::remove(s.begin(), s.end(), node), s.end());
    node->parent_ = nullptr;
}

void TTreeNodes::Delete(TTreeNode* node) {
    if (!node || node->owner_ != this) return;
    if (owner_ && owner_->selected_) {
        bool inside = false;
        for (TTreeNode* p = owner_->selected_; p; p = p->parent_) inside |= p == node;
        if (inside) owner_->selected_ = nullptr;
    }
    Detach(node);
    node->Free();
}

void TTreeNodes::Clear() {
    if (owner_) owner_->selected_ = nullptr;
    while (!roots_.empty()) Delete(roots_.back());
}

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner), items_(new TTreeNodes(this)) {
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    SetTabStop(true);
}

TTreeView::~TTreeView() { items_->Free(); }

void TTreeView::SetSelected(TTreeNode* node) {
    if (node == selected_) return;
    if (node && node->Owner() != items_) return;
    bool allow = true;
    OnChanging(this, node, allow);
    if (!allow) return;
    selected_ = node;
    if (node && autoExpand_) node->SetExpanded(true);
    OnChange(this, node);
}

void TTreeView::FullExpand() {
    for (TTreeNode* n : items_->Roots()) n->Expand(true);
}

void TTreeView::FullCollapse() {
    for (TTreeNode* n : items_->Roots()) n->Collapse(true);
}

bool TTreeView::EditText(TTreeNode* node, const std::string& text) {
    if (!node || node->Owner() != items_ || readOnly_) return false;
    std::string s = text;
    OnEdited(this, node, s);
    node->SetText(s);
    return true;
}

// --- tool bar --------------------------------------------------------------

ZB_PUBLISHED(TToolButton){
    prop::String("Caption", &TToolButton::Caption, &TToolButton::SetCaption, "TCaption"),
    prop::Enum("Style", &TToolButton::Style, &TToolButton::SetStyle, kToolButtonStyleNames, "TToolButtonStyle"),
    prop::Bool("Down", &TToolButton::Down, &TToolButton::SetDown),
    prop::Bool("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped),
    prop::Bool("AllowAllUp", &TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp),
    prop::Integer("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex, "TImageIndex"),
    prop::Bool("Wrap", &TToolButton::Wrap, &TToolButton::SetWrap),
    prop::Class("DropdownMenu", &TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu),
};
ZB_PUBLISHED(TToolBar){
    prop::Integer("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth),
    prop::Integer("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight),
    prop::Bool("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions),
    prop::Bool("Flat", &TToolBar::Flat, &TToolBar::SetFlat),
    prop::Bool("List", &TToolBar::List, &TToolBar::SetList),
    prop::Class("Images", &TToolBar::Images, &TToolBar::SetImages),
};

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 23, 22); }

void TToolButton::SetParent(TWinControl* parent) {
    TWinControl* old = Parent();
    TGraphicControl::SetParent(parent);
    if (old) old->Realign();
    if (parent) parent->Realign();
}

void TToolButton::SetStyle(TToolButtonStyle s) {
    style_ = s;
    if (s != TToolButtonStyle::tbsCheck) down_ = false;
    if (Parent()) Parent()->Realign();
}

int TToolButton::Index() const {
    auto* bar = dyn_cast<TToolBar>(Parent());
    if (!bar) return -1;
    for (int i = 0; i < bar->ButtonCount(); ++i)
        if (bar->Buttons(i) == this) return i;
    return -1;
}

std::vector<TToolButton*> TToolButton::GroupMembers() {
    // The grouped check buttons next to this one, up to a button of another kind.
    std::vector<TToolButton*> group;
    auto* bar = dyn_cast<TToolBar>(Parent());
    if (!bar || !grouped_ || style_ != TToolButtonStyle::tbsCheck) return group;
    int me = Index();
    auto member = [](TToolButton* b) { return b->grouped_ && b->style_ == TToolButtonStyle::tbsCheck; };
    int first = me, last = me;
    while (first > 0 && member(bar->Buttons(first - 1))) --first;
    while (last + 1 < bar->ButtonCount() && member(bar->Buttons(last + 1))) ++last;
    for (int i = first; i <= last; ++i) group.push_back(bar->Buttons(i));
    return group;
}

void TToolButton::SetDown(bool on) {
    if (style_ != TToolButtonStyle::tbsCheck) on = false;
    if (on == down_) return;
    auto group = GroupMembers();
    if (!on && !group.empty()) {
        bool allowUp = allowAllUp_ || std::any_of(group.begin(), group.end(), [](TToolButton* b) { return b->allowAllUp_; });
        if (!allowUp) return;
    }
    down_ = on;
    if (on)
        for (TToolButton* b : group)
            if (b != this) b->down_ = false;
    Changed("Down");
}

void TToolButton::Click() {
    if (!Enabled()) return;
    if (style_ == TToolButtonStyle::tbsCheck) SetDown(!down_);
    if (style_ == TToolButtonStyle::tbsDropDown && dropdownMenu_ && !OnClick.Assigned()) {
        TPoint p = ClientToParentForm({0, Height()});
        dropdownMenu_->SetPopupComponent(this);
        dropdownMenu_->Popup(p.X, p.Y);
        return;
    }
    TGraphicControl::Click();
}

void TToolButton::SetDropdownMenu(TPopupMenu* m) {
    if (m == dropdownMenu_) return;
    if (dropdownMenu_) RemoveFreeNotification(dropdownMenu_);
    dropdownMenu_ = m;
    if (m) FreeNotification(m);
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == dropdownMenu_) dropdownMenu_ = nullptr;
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 150, 29);
    SetAlign(TAlign::alTop);
}

int TToolBar::ButtonCount() const {
    return static_cast<int>(std::count_if(ControlList().begin(), ControlList().end(), [](TControl* c) { return isa<TToolButton>(c); }));
}

TToolButton* TToolBar::Buttons(int index) const {
    int i = 0;
    for (TControl* c : ControlList())
        if (auto* b = dyn_cast<TToolButton>(c)) {
            if (i++ == index) return b;
        }
    IndexError("Button", index);
}

void TToolBar::SetButtonWidth(int w) {
    buttonWidth_ = std::max(w, 0);
    Realign();
}

void TToolBar::SetButtonHeight(int h) {
    buttonHeight_ = std::max(h, 0);
    Realign();
}

void TToolBar::SetImages(TComponent* images) { SwapReference(this, images_, images); }

void TToolBar::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

void TToolBar::AlignControls(TRect& rect) {
    int x = 0, y = 0;
    for (TControl* c : ControlList()) {
        auto* b = dyn_cast<TToolButton>(c);
        if (!b || !b->Visible()) continue;
        bool separator = b->Style() == TToolButtonStyle::tbsSeparator || b->Style() == TToolButtonStyle::tbsDivider;
        int w = separator ? 8 : buttonWidth_;
        if (showCaptions_ && !separator) w = std::max(w, TextWidth(*Font(), b->Caption()) + 8);
        b->SetBounds(x, y, w, buttonHeight_);
        x += w;
        if (b->Wrap()) {
            x = 0;
            y += buttonHeight_;
        }
    }
    TWinControl::AlignControls(rect);
}

}  // namespace zb
