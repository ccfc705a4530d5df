#include "platform/ui/Grids.h"

#include <algorithm>

#include "platform/core/Published.h"

namespace zb {

const EnumNames GridOptionNames = {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine",
                                   "goRangeSelect", "goDrawFocusSelected", "goRowSizing", "goColSizing",
                                   "goRowMoving", "goColMoving", "goEditing", "goTabs",
                                   "goRowSelect", "goAlwaysShowEditor", "goThumbTracking"};

ZB_PUBLISHED(TCustomGrid){
    prop::Integer("ColCount", &TCustomGrid::ColCount, &TCustomGrid::SetColCount),
    prop::Integer("RowCount", &TCustomGrid::RowCount, &TCustomGrid::SetRowCount),
    prop::Integer("FixedCols", &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols),
    prop::Integer("FixedRows", &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows),
    prop::Integer("DefaultColWidth", &TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth),
    prop::Integer("DefaultRowHeight", &TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight),
    prop::Set("Options", &TCustomGrid::Options, &TCustomGrid::SetOptions, GridOptionNames, "TGridOptions"),
    prop::Event("OnSelectCell", &TCustomGrid::OnSelectCell, "TSelectCellEvent"),
    prop::Event("OnGetEditText", &TCustomGrid::OnGetEditText, "TGetEditEvent"),
    prop::Event("OnSetEditText", &TCustomGrid::OnSetEditText, "TSetEditEvent"),
};
ZB_PUBLISHED(TCustomDrawGrid){};
ZB_PUBLISHED(TDrawGrid){};
ZB_PUBLISHED(TStringGrid){};
ZB_PUBLISHED(TStringAlignGrid){
    prop::Event("OnEditButtonClick", &TStringAlignGrid::OnEditButtonClick),
};

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 320, 120);
    SetColor(clWindow);
    SetTabStop(true);
    colWidths_.assign(static_cast<size_t>(colCount_), defaultColWidth_);
    rowHeights_.assign(static_cast<size_t>(rowCount_), defaultRowHeight_);
}

void TCustomGrid::SetColCount(int n) {
    n = std::max(n, 1);
    if (n <= fixedCols_) fixedCols_ = n - 1;
    colCount_ = n;
    colWidths_.resize(static_cast<size_t>(n), defaultColWidth_);
    col_ = std::clamp(col_, fixedCols_, n - 1);
    leftCol_ = std::clamp(leftCol_, fixedCols_, n - 1);
    SizeChanged();
}

void TCustomGrid::SetRowCount(int n) {
    n = std::max(n, 1);
    if (n <= fixedRows_) fixedRows_ = n - 1;
    rowCount_ = n;
    rowHeights_.resize(static_cast<size_t>(n), defaultRowHeight_);
    row_ = std::clamp(row_, fixedRows_, n - 1);
    topRow_ = std::clamp(topRow_, fixedRows_, n - 1);
    SizeChanged();
}

void TCustomGrid::SetFixedCols(int n) {
    if (n < 0 || n >= colCount_) throw EInvalidOperation("Fixed column count must be less than column count");
    fixedCols_ = n;
    col_ = std::max(col_, n);
    leftCol_ = std::max(leftCol_, n);
}

void TCustomGrid::SetFixedRows(int n) {
    if (n < 0 || n >= rowCount_) throw EInvalidOperation("Fixed row count must be less than row count");
    fixedRows_ = n;
    row_ = std::max(row_, n);
    topRow_ = std::max(topRow_, n);
}

bool TCustomGrid::MoveTo(int col, int row) {
    if (col < fixedCols_ || col >= colCount_ || row < fixedRows_ || row >= rowCount_) return false;
    if (col == col_ && row == row_) return true;
    bool can = true;
    OnSelectCell(this, col, row, can);
    if (!can) return false;
    col_ = col;
    row_ = row;
    Changed("Selection");
    return true;
}

void TCustomGrid::SetDefaultColWidth(int w) {
    defaultColWidth_ = std::max(w, 0);
    std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
}

void TCustomGrid::SetDefaultRowHeight(int h) {
    defaultRowHeight_ = std::max(h, 0);
    std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
}

int TCustomGrid::ColWidths(int col) const {
    return col >= 0 && col < colCount_ ? colWidths_[static_cast<size_t>(col)] : defaultColWidth_;
}
void TCustomGrid::SetColWidths(int col, int width) {
    if (col >= 0 && col < colCount_) colWidths_[static_cast<size_t>(col)] = std::max(width, 0);
}
int TCustomGrid::RowHeights(int row) const {
    return row >= 0 && row < rowCount_ ? rowHeights_[static_cast<size_t>(row)] : defaultRowHeight_;
}
void TCustomGrid::SetRowHeights(int row, int height) {
    if (row >= 0 && row < rowCount_) rowHeights_[static_cast<size_t>(row)] = std::max(height, 0);
}
void TCustomGrid::SetTopRow(int r) { topRow_ = std::clamp(r, fixedRows_, rowCount_ - 1); }
void TCustomGrid::SetLeftCol(int c) { leftCol_ = std::clamp(c, fixedCols_, colCount_ - 1); }
void TCustomGrid::SetEditorMode(bool on) { editorMode_ = on && (options_ & goEditing); }

bool TCustomGrid::WantsKey(Word key, TShiftState) const {
    if (key == VK_TAB) return (options_ & goTabs) != 0;
    return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN || key == VK_HOME || key == VK_END ||
           key == VK_PRIOR || key == VK_NEXT;
}

void TCustomGrid::DoKeyDown(Word& key, TShiftState shift) {
    int c = col_, r = row_;
    switch (key) {
        case VK_LEFT: --c; break;
        case VK_RIGHT: ++c; break;
        case VK_UP: --r; break;
        case VK_DOWN: ++r; break;
        case VK_HOME: c = fixedCols_; break;
        case VK_END: c = colCount_ - 1; break;
        case VK_PRIOR: r = fixedRows_; break;
        case VK_NEXT: r = rowCount_ - 1; break;
        case VK_TAB:
            if (!(options_ & goTabs)) return;
            // Tab walks the cells row by row.
            if (shift & ssShift) {
                if (--c < fixedCols_) {
                    c = colCount_ - 1;
                    --r;
                }
            } else if (++c >= colCount_) {
                c = fixedCols_;
                ++r;
            }
            break;
        default: return;
    }
    MoveTo(std::clamp(c, fixedCols_, colCount_ - 1), std::clamp(r, fixedRows_, rowCount_ - 1));
    key = 0;
}

TStringGrid::TStringGrid(TComponent* owner) : TDrawGrid(owner) { SizeChanged(); }

void TStringGrid::SizeChanged() {
    cells_.resize(static_cast<size_t>(RowCount()));
    for (auto& row : cells_) row.resize(static_cast<size_t>(ColCount()));
}

std::string TStringGrid::Cells(int col, int row) const {
    return Inside(col, row) ? cells_[static_cast<size_t>(row)][static_cast<size_t>(col)].text : std::string();
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
    if (!Inside(col, row)) throw EInvalidOperation("Grid index out of range");
    cells_[static_cast<size_t>(row)][static_cast<size_t>(col)].text = text;
    Changed("Cells");
}

TObject* TStringGrid::Objects(int col, int row) const {
    return Inside(col, row) ? cells_[static_cast<size_t>(row)][static_cast<size_t>(col)].object : nullptr;
}

void TStringGrid::SetObjects(int col, int row, TObject* object) {
    if (!Inside(col, row)) throw EInvalidOperation("Grid index out of range");
    cells_[static_cast<size_t>(row)][static_cast<size_t>(col)].object = object;
}

std::vector<std::string> TStringGrid::Rows(int row) const {
    std::vector<std::string> out;
    for (int c = 0; c < ColCount(); ++c) out.push_back(Cells(c, row));
    return out;
}

void TStringGrid::SetRows(int row, const std::vector<std::string>& texts) {
    for (int c = 0; c < ColCount(); ++c) SetCells(c, row, c < static_cast<int>(texts.size()) ? texts[static_cast<size_t>(c)] : "");
}

std::vector<std::string> TStringGrid::Cols(int col) const {
    std::vector<std::string> out;
    for (int r = 0; r < RowCount(); ++r) out.push_back(Cells(col, r));
    return out;
}

bool TStringGrid::EditCell(const std::string& text) {
    if (!(Options() & goEditing) || !Enabled()) return false;
    std::string shown = Cells(Col(), Row());
    OnGetEditText(this, Col(), Row(), shown);
    SetEditorMode(true);
    SetCells(Col(), Row(), text);
    OnSetEditText(this, Col(), Row(), text);
    return true;
}

// --- TStringAlignGrid ------------------------------------------------------

TStringAlignGrid::TStringAlignGrid(TComponent* owner) : TStringGrid(owner) {}

TStringAlignGrid::~TStringAlignGrid() {
    for (auto& f : fonts_) f.second->Free();
}

TColumnEditor TStringAlignGrid::ColumnEditor(int col) const {
    for (const auto& e : editors_)
        if (e.first == col) return e.second;
    return TColumnEditor();
}

void TStringAlignGrid::SetColumnEditor(int col, const TColumnEditor& editor) {
    for (auto& e : editors_)
        if (e.first == col) {
            e.second = editor;
            return;
        }
    editors_.emplace_back(col, editor);
}

std::string TStringAlignGrid::CellHint(int col, int row) const {
    for (const auto& h : hints_)
        if (h.first == Key{col, row}) return h.second;
    return {};
}

void TStringAlignGrid::SetCellHint(int col, int row, const std::string& hint) {
    for (auto& h : hints_)
        if (h.first == Key{col, row}) {
            h.second = hint;
            return;
        }
    hints_.emplace_back(Key{col, row}, hint);
}

void TStringAlignGrid::Attach(std::vector<std::pair<Key, TFont*>>& fonts, Key key, const TFont* font) {
    for (auto it = fonts.begin(); it != fonts.end(); ++it)
        if (it->first == key) {
            if (font) {
                it->second->Assign(font);
            } else {
                it->second->Free();
                fonts.erase(it);
            }
            return;
        }
    if (!font) return;
    auto* copy = new TFont;
    copy->Assign(font);
    fonts.emplace_back(key, copy);
}

TFont* TStringAlignGrid::Find(const std::vector<std::pair<Key, TFont*>>& fonts, Key key) {
    for (const auto& f : fonts)
        if (f.first == key) return f.second;
    return nullptr;
}

TFont* TStringAlignGrid::CellFont(int col, int row) const { return col < 0 || row < 0 ? nullptr : Find(fonts_, {col, row}); }
void TStringAlignGrid::SetCellFont(int col, int row, const TFont* font) {
    if (col >= 0 && row >= 0) Attach(fonts_, {col, row}, font);
}
TFont* TStringAlignGrid::ColFont(int col) const { return col < 0 ? nullptr : Find(fonts_, {col, -1}); }
void TStringAlignGrid::SetColFont(int col, const TFont* font) {
    if (col >= 0) Attach(fonts_, {col, -1}, font);
}
TFont* TStringAlignGrid::RowFont(int row) const { return row < 0 ? nullptr : Find(fonts_, {-1, row}); }
void TStringAlignGrid::SetRowFont(int row, const TFont* font) {
    if (row >= 0) Attach(fonts_, {-1, row}, font);
}

const TFont* TStringAlignGrid::EffectiveFont(int col, int row) const {
    if (TFont* f = CellFont(col, row)) return f;
    if (TFont* f = RowFont(row)) return f;
    if (TFont* f = ColFont(col)) return f;
    return Font();
}

bool TStringAlignGrid::EditCell(const std::string& text) {
    TColumnEditor editor = ColumnEditor(Col());
    if (editor.ReadOnly && editor.Kind != TCellEditorKind::cePickList) return false;
    switch (editor.Kind) {
        case TCellEditorKind::cePickList:
            if (std::find(editor.PickItems.begin(), editor.PickItems.end(), text) == editor.PickItems.end()) return false;
            break;
        case TCellEditorKind::ceCheckBox: {
            size_t semi = editor.CheckValues.find(';');
            std::string on = editor.CheckValues.substr(0, semi);
            std::string off = semi == std::string::npos ? std::string() : editor.CheckValues.substr(semi + 1);
            if (text != on && text != off) return false;
            break;
        }
        default: break;
    }
    return TStringGrid::EditCell(text);
}

bool TStringAlignGrid::ToggleCheck() {
    TColumnEditor editor = ColumnEditor(Col());
    if (editor.Kind != TCellEditorKind::ceCheckBox) return false;
    size_t semi = editor.CheckValues.find(';');
    std::string on = editor.CheckValues.substr(0, semi);
    std::string off = semi == std::string::npos ? std::string() : editor.CheckValues.substr(semi + 1);
    return EditCell(Cells(Col(), Row()) == on ? off : on);
}

bool TStringAlignGrid::EditButtonClick() {
    if (ColumnEditor(Col()).Kind != TCellEditorKind::ceEditButton || !Enabled()) return false;
    OnEditButtonClick(this);
    return true;
}

}  // namespace zb
