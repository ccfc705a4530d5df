// Grids: the draw grid (rows, columns, fixed rows and columns, the current
// cell, options) and the string grid that holds a text per cell.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Controls.h"

namespace zb {

enum TGridOption : unsigned {
    goFixedVertLine = 1u << 0,
    goFixedHorzLine = 1u << 1,
    goVertLine = 1u << 2,
    goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4,
    goDrawFocusSelected = 1u << 5,
    goRowSizing = 1u << 6,
    goColSizing = 1u << 7,
    goRowMoving = 1u << 8,
    goColMoving = 1u << 9,
    goEditing = 1u << 10,
    goTabs = 1u << 11,
    goRowSelect = 1u << 12,
    goAlwaysShowEditor = 1u << 13,
    goThumbTracking = 1u << 14,
};
using TGridOptions = unsigned;
extern const EnumNames GridOptionNames;

using TSelectCellEvent = TEvent<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TGetEditEvent = TEvent<void(TObject* Sender, int ACol, int ARow, std::string& Value)>;
using TSetEditEvent = TEvent<void(TObject* Sender, int ACol, int ARow, const std::string& Value)>;

struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

class TCustomGrid : public TCustomControl {
    ZB_CLASS(TCustomGrid, TCustomControl)

public:
    explicit TCustomGrid(TComponent* owner = nullptr);

    int ColCount() const { return colCount_; }
    virtual void SetColCount(int n);
    int RowCount() const { return rowCount_; }
    virtual void SetRowCount(int n);
    // Fixed rows and columns stay fewer than the counts (EInvalidOperation otherwise).
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int n);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int n);
    // The current cell: never a fixed one; moving asks OnSelectCell.
    int Col() const { return col_; }
    void SetCol(int c) { MoveTo(c, row_); }
    int Row() const { return row_; }
    void SetRow(int r) { MoveTo(col_, r); }
    // False when refused or outside the movable cells.
    bool MoveTo(int col, int row);
    TGridRect Selection() const { return {col_, row_, col_, row_}; }
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions o) { options_ = o; }
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int w);
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int h);
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);
    int TopRow() const { return topRow_; }
    void SetTopRow(int r);
    int LeftCol() const { return leftCol_; }
    void SetLeftCol(int c);
    bool EditorMode() const { return editorMode_; }
    void SetEditorMode(bool on);

    TSelectCellEvent OnSelectCell;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;

protected:
    bool WantsKey(Word key, TShiftState shift) const override;
    void DoKeyDown(Word& key, TShiftState shift) override;
    virtual void SizeChanged() {}

private:
    int colCount_ = 5;
    int rowCount_ = 5;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int col_ = 1;
    int row_ = 1;
    int topRow_ = 1;
    int leftCol_ = 1;
    TGridOptions options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 24;
    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    bool editorMode_ = false;
};

class TCustomDrawGrid : public TCustomGrid {
    ZB_CLASS(TCustomDrawGrid, TCustomGrid)

public:
    explicit TCustomDrawGrid(TComponent* owner = nullptr) : TCustomGrid(owner) {}
};

class TDrawGrid : public TCustomDrawGrid {
    ZB_CLASS(TDrawGrid, TCustomDrawGrid)

public:
    explicit TDrawGrid(TComponent* owner = nullptr) : TCustomDrawGrid(owner) {}
};

// A text (and an object) per cell; cells outside the grid read empty and
// refuse writes with EInvalidOperation.
class TStringGrid : public TDrawGrid {
    ZB_CLASS(TStringGrid, TDrawGrid)

public:
    explicit TStringGrid(TComponent* owner = nullptr);

    std::string Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& text);
    TObject* Objects(int col, int row) const;
    void SetObjects(int col, int row, TObject* object);
    std::vector<std::string> Rows(int row) const;
    void SetRows(int row, const std::vector<std::string>& texts);
    std::vector<std::string> Cols(int col) const;

    // The user edits the current cell (with goEditing): OnGetEditText, the
    // new text, then OnSetEditText. False without goEditing.
    virtual bool EditCell(const std::string& text);

protected:
    void SizeChanged() override;

private:
    struct Cell {
        std::string text;
        TObject* object = nullptr;
    };
    bool Inside(int col, int row) const { return col >= 0 && row >= 0 && col < ColCount() && row < RowCount(); }
    std::vector<std::vector<Cell>> cells_;  // by row
};

enum class TCellEditorKind { ceText, ceEditButton, cePickList, ceCheckBox };

// How a column of an aligned grid is edited: plain text, text with an edit
// button, a pick list of items, or a check box cycling between two values
// ("Y;N" — the first is checked).
struct TColumnEditor {
    TCellEditorKind Kind = TCellEditorKind::ceText;
    bool ReadOnly = false;
    std::vector<std::string> PickItems;
    std::string CheckValues = "Y;N";
};

// The string grid with per-column editors, cell hints and fonts attached to
// cells, columns and rows (a cell's own font first, then its row's, then its
// column's).
class TStringAlignGrid : public TStringGrid {
    ZB_CLASS(TStringAlignGrid, TStringGrid)

public:
    explicit TStringAlignGrid(TComponent* owner = nullptr);
    ~TStringAlignGrid() override;

    // The editor of a column (a plain text editor until set).
    TColumnEditor ColumnEditor(int col) const;
    void SetColumnEditor(int col, const TColumnEditor& editor);

    std::string CellHint(int col, int row) const;
    void SetCellHint(int col, int row, const std::string& hint);

    // Null when nothing is attached. Setting copies the font; null detaches.
    TFont* CellFont(int col, int row) const;
    void SetCellFont(int col, int row, const TFont* font);
    TFont* ColFont(int col) const;
    void SetColFont(int col, const TFont* font);
    TFont* RowFont(int row) const;
    void SetRowFont(int row, const TFont* font);
    // The font a cell is shown in.
    const TFont* EffectiveFont(int col, int row) const;

    // Refused in a read-only column; a pick-list column takes only its items;
    // a check-box column only its two values.
    bool EditCell(const std::string& text) override;
    // The user clicks the check box of the current cell; false when it has none.
    bool ToggleCheck();
    // The user presses the current cell's edit button; false when it has none.
    bool EditButtonClick();

    TNotifyEvent OnEditButtonClick;

private:
    using Key = std::pair<int, int>;
    static void Attach(std::vector<std::pair<Key, TFont*>>& fonts, Key key, const TFont* font);
    static TFont* Find(const std::vector<std::pair<Key, TFont*>>& fonts, Key key);

    std::vector<std::pair<int, TColumnEditor>> editors_;
    std::vector<std::pair<Key, std::string>> hints_;
    std::vector<std::pair<Key, TFont*>> fonts_;  // cells (col, row), columns (col, -1), rows (-1, row)
};

}  // namespace zb
