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

}  // namespace zb
