#include "lang/CodeConverter.h"

#include <mutex>
#include <vector>

#include "env/OrkelINI.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Published.h"
#include "platform/core/StringList.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"

namespace zb {
namespace {

inline constexpr int kGBCharset = 134;
inline constexpr int kBig5Charset = 136;

struct Registered {
    const ClassInfo* classInfo;
    TControlConversion conversion;
};
struct Registry {
    std::mutex mutex;
    std::vector<Registered> entries;
};
Registry& Conversions() {
    static Registry r;
    return r;
}

// A published property of that kind and type name, or null.
const PropInfo* Prop(const TObject& object, std::string_view name, TypeKind kind, std::string_view typeName = {}) {
    const PropInfo* p = GetPropInfo(&object, name);
    if (!p || p->Kind != kind) return nullptr;
    if (!typeName.empty() && p->TypeName != typeName) return nullptr;
    return p;
}

template <class T>
T* ObjectProp(const TObject& object, std::string_view name, std::string_view typeName) {
    const PropInfo* p = Prop(object, name, TypeKind::Class, typeName);
    return p ? dynamic_cast<T*>(GetObjectProp(object, *p)) : nullptr;
}

// The component's "ItemIndex", or null when it has none that can be set.
const PropInfo* ItemIndexProp(const TObject& object) {
    const PropInfo* p = Prop(object, "ItemIndex", TypeKind::Integer);
    return p && p->IsWritable() ? p : nullptr;
}

void ConvertList(TStrings& list, const std::function<std::string(const std::string&)>& convert) {
    for (int i = 0; i < list.Count(); ++i) list.SetStrings(i, convert(list.Strings(i)));
}

}  // namespace

TConverterProfile ClientConverterProfile() {
    TOrkelIniC ini;
    TConverterProfile p;
    p.SysCodePage = ini.SysCodePage;
    p.UICodePage = ini.UICodePage;
    p.DBCodePage = ini.DBCodePage;
    p.UIConvertMode = ini.UIConvertMode;
    p.DBConvertMode = ini.DBConvertMode;
    return p;
}

ZB_PUBLISHED(TCodeConverter){
    prop::Enum("DesignType", &TCodeConverter::DesignType, &TCodeConverter::SetDesignType, DesignTypeNames,
               "TDesignType"),
};

TCodeConverter::TCodeConverter(TComponent* owner) : TComponent(owner) { Setup(ClientConverterProfile()); }

TCodeConverter::TCodeConverter(TComponent* owner, const TConverterProfile& profile) : TComponent(owner) {
    Setup(profile);
}

TCodeConverter::~TCodeConverter() = default;

void TCodeConverter::Setup(const TConverterProfile& profile) {
    SysCodePage = profile.SysCodePage;
    UICodePage = profile.UICodePage;
    DBCodePage = profile.DBCodePage;
    UIConvertMode = profile.UIConvertMode;
    DBConvertMode = profile.DBConvertMode;
    if (UIConvertMode != 0) translator_ = std::make_unique<TTranslator>(profile.TranslatorLibrary);
}

void TCodeConverter::RegisterControlConversion(const ClassInfo& classInfo, TControlConversion conversion) {
    Registry& r = Conversions();
    std::lock_guard lock(r.mutex);
    r.entries.push_back({&classInfo, std::move(conversion)});
}

std::string TCodeConverter::Big5ToGB(const std::string& text) const {
    if (text.empty()) return text;
    if (!translator_) throw EInvalidOperation("No translator for converting BIG5 to GB");
    return translator_->Big5ToGB(text);
}

std::string TCodeConverter::GBToBig5(const std::string& text) const {
    if (text.empty()) return text;
    if (!translator_) throw EInvalidOperation("No translator for converting GB to BIG5");
    return translator_->GBToBig5(text);
}

std::string TCodeConverter::ConvertText(int mode, const std::string& text) const {
    if (mode == 1) return Big5ToGB(text);
    if (mode == 2) return GBToBig5(text);
    return text;
}

// ---- Values ----------------------------------------------------------------

Variant TCodeConverter::ConvertVariant(int mode, const Variant& value) const {
    Variant result = value;
    if (mode == 0 || !translator_ || value.IsEmpty() || value.IsNull()) return result;
    if (value.IsArray()) {
        VarArray& array = result.Array();
        if (array.DimCount() == 1) {
            for (Variant& item : array.Items()) {
                if (item.IsArray()) {
                    item = ConvertVariant(mode, item);
                } else if (mode == 1 || mode == 2) {
                    // An element is read as text whatever it holds, and a
                    // null element cannot be.
                    if (item.IsNull())
                        throw EVariantError("Could not convert variant of type (Null) into type (String)");
                    std::string converted = ConvertText(mode, item.ToString());
                    item = item.Type() == VarType::WideString ? Variant::Wide(std::move(converted))
                                                              : Variant(std::move(converted));
                }
            }
        } else if (array.DimCount() == 2) {
            for (Variant& cell : array.Items()) cell = ConvertVariant(mode, cell);
        }
        return result;
    }
    if (mode != 1 && mode != 2) return result;
    std::string converted = ConvertText(mode, value.ToString());
    return value.Type() == VarType::WideString ? Variant::Wide(std::move(converted)) : Variant(std::move(converted));
}

namespace {
int Inverse(int mode) { return mode == 1 ? 2 : mode == 2 ? 1 : 0; }
}  // namespace

Variant TCodeConverter::FromUI(const Variant& value) const {
    int inverse = Inverse(UIConvertMode);
    if (inverse == 0) return value;
    try {
        return ConvertVariant(inverse, value);
    } catch (const std::exception&) {
        // Writing back to the database must not fail on a text the screen
        // could not convert: the text goes as it is.
        return value;
    }
}

Variant TCodeConverter::UIToData(const Variant& value) const {
    int inverse = Inverse(DBConvertMode);
    if (inverse == 0) return value;
    try {
        return ConvertVariant(inverse, value);
    } catch (const std::exception&) {
        // As in FromUI: the text goes to the database unconverted.
        return value;
    }
}

// ---- Forms -----------------------------------------------------------------

void TCodeConverter::ApplyFontRule(TFont& font, int mode) {
    if (mode == 0 || mode == 1 || mode == 4) {
        font.SetName("SimSun");
        font.SetCharset(kGBCharset);
    } else if (mode == 2 || mode == 3) {
        font.SetName("SimSun");
        font.SetCharset(kBig5Charset);
    }
}

void TCodeConverter::ConvertForm(TCustomForm* form, bool deep) {
    if (!translator_ || !form) return;
    const int mode = UIConvertMode;
    // The title bar is drawn in the system's code page, whatever the screen's.
    if (SysCodePage == "950") form->SetCaption(GBToBig5(form->Caption()));
    for (const char* name : {"Hint", "ButtonHint"}) {
        const PropInfo* p = Prop(*form, name, TypeKind::String);
        if (p && p->IsWritable()) SetStrProp(*form, *p, ConvertText(mode, GetStrProp(*form, *p)));
    }
    ApplyFontRule(*Screen().IconFont(), mode);
    ApplyFontRule(*Screen().HintFont(), mode);
    ApplyFontRule(*Screen().MenuFont(), mode);
    // Rebuilds the hint window with the new hint font.
    Application().SetShowHint(!Application().ShowHint());
    Application().SetShowHint(!Application().ShowHint());
    if (mode == 0) return;
    for (int i = 0; i < form->ComponentCount(); ++i) ConvertComponent(*form->Components(i), mode, deep);
}

void TCodeConverter::ConvertComponent(TComponent& c, int mode, bool deep) {
    auto convert = [this, mode](const std::string& s) { return ConvertText(mode, s); };

    // Published properties, each only where the component has it.
    for (const char* name : {"Font", "TitleFont"})
        if (TFont* font = ObjectProp<TFont>(c, name, "TFont")) ApplyFontRule(*font, mode);
    for (const char* name : {"Caption", "Hint", "ButtonHint"}) {
        const PropInfo* p = Prop(c, name, TypeKind::String);
        if (!p || !p->IsWritable()) continue;
        std::string text = GetStrProp(c, *p);
        if (!text.empty()) SetStrProp(c, *p, convert(text));
    }
    if (TStrings* items = ObjectProp<TStrings>(c, "Items", "TStrings")) {
        const PropInfo* index = ItemIndexProp(c);
        std::int64_t kept = index ? GetOrdProp(c, *index) : -1;
        items->SetText(convert(items->Text()));
        // Set again even when unchanged, so the shown text follows the new item.
        if (index && items->Count() > 0 && kept >= 0) SetOrdProp(c, *index, kept);
    }
    if (TStrings* lines = ObjectProp<TStrings>(c, "Lines", "TStrings")) lines->SetText(convert(lines->Text()));
    if (const PropInfo* style = Prop(c, "Style", TypeKind::Enumeration, "TComboBoxStyle")) {
        const std::string name = GetEnumName(*style, GetOrdProp(c, *style));
        const char* owner = name == "csDropDown" ? "csOwnerDrawVariable"
                            : name == "csDropDownList" ? "csOwnerDrawFixed" : nullptr;
        if (owner) {
            const PropInfo* index = ItemIndexProp(c);
            std::int64_t kept = index ? GetOrdProp(c, *index) : -1;
            SetOrdProp(c, *style, GetEnumValue(*style, owner));
            if (index && GetOrdProp(c, *index) != kept) SetOrdProp(c, *index, kept);
        }
    }
    if (const PropInfo* style = Prop(c, "Style", TypeKind::Enumeration, "TListBoxStyle")) {
        if (GetEnumName(*style, GetOrdProp(c, *style)) == "lbStandard")
            SetOrdProp(c, *style, GetEnumValue(*style, "lbOwnerDrawFixed"));
    }

    // The controls' own texts, only where texts are converted.
    if (mode == 1 || mode == 2) {
        if (auto* view = dynamic_cast<TListView*>(&c)) {
            TListColumns* columns = view->Columns();
            TListItems* items = view->Items();
            for (int col = 0; col < columns->Count(); ++col) {
                TListColumn* column = columns->Items(col);
                column->SetCaption(convert(column->Caption()));
                for (int i = 0; i < items->Count(); ++i) {
                    TListItem* item = items->Item(i);
                    if (col == 0) {
                        item->SetCaption(convert(item->Caption()));
                    } else if (col - 1 < item->SubItems()->Count()) {
                        item->SubItems()->SetStrings(col - 1, convert(item->SubItems()->Strings(col - 1)));
                    }
                }
            }
        }
        if (auto* combo = dynamic_cast<TCustomComboBox*>(&c)) {
            if (combo->Style() != TComboBoxStyle::csSimple) combo->SetStyle(TComboBoxStyle::csOwnerDrawFixed);
            if (combo->ItemIndex() < 0 && combo->Items()->Count() > 0) combo->SetItemIndex(0);
        }
        std::vector<TControlConversion> own;
        {
            Registry& r = Conversions();
            std::lock_guard lock(r.mutex);
            for (const auto& e : r.entries)
                if (c.InheritsFrom(*e.classInfo)) own.push_back(e.conversion);
        }
        for (const auto& conversion : own) conversion(c, convert);

        if (deep) {
            if (auto* tree = dynamic_cast<TTreeView*>(&c))
                for (int i = 0; i < tree->Items()->Count(); ++i) {
                    TTreeNode* node = tree->Items()->Item(i);
                    node->SetText(convert(node->Text()));
                }
            if (auto* grid = dynamic_cast<TStringGrid*>(&c)) {
                auto* aligned = dynamic_cast<TStringAlignGrid*>(grid);
                for (int col = 0; col < grid->ColCount(); ++col) {
                    for (int row = 0; row < grid->RowCount(); ++row) {
                        std::string cell = grid->Cells(col, row);
                        if (!cell.empty()) grid->SetCells(col, row, convert(cell));
                        if (!aligned) continue;
                        std::string hint = aligned->CellHint(col, row);
                        if (!hint.empty()) aligned->SetCellHint(col, row, convert(hint));
                        if (TFont* font = aligned->CellFont(col, row)) ApplyFontRule(*font, mode);
                        if (col == 0)
                            if (TFont* font = aligned->RowFont(row)) ApplyFontRule(*font, mode);
                    }
                    if (!aligned) continue;
                    if (TFont* font = aligned->ColFont(col)) ApplyFontRule(*font, mode);
                    // The column's pick list is the text list attached to it.
                    TColumnEditor editor = aligned->ColumnEditor(col);
                    if (!editor.PickItems.empty()) {
                        for (auto& pick : editor.PickItems) pick = convert(pick);
                        aligned->SetColumnEditor(col, editor);
                    }
                }
            }
        }
    }

    if (auto* menu = dynamic_cast<TMenu*>(&c)) menu->SetOwnerDraw(true);
}

// ---- Dialogs ---------------------------------------------------------------

int TCodeConverter::MessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    if (text.empty()) return 0;
    std::string shown = text;
    // Keeps the last characters of a GB text clear of the dialog's edge.
    if (UICodePage == "936" || SysCodePage == "936") shown += "      ";
    std::unique_ptr<TMessageForm, FreeObject> dialog(CreateMessageDialog(shown, type, buttons));
    if (auto* form = dynamic_cast<TCustomForm*>(Owner()))
        if (form->WindowState() == TWindowState::wsMinimized) form->SetWindowState(TWindowState::wsNormal);
    if (auto* control = dynamic_cast<TControl*>(Owner())) dialog->SetCaption(control->Caption());
    ApplyFontRule(*dialog->Font(), UIConvertMode);
    return dialog->ShowModal();
}

}  // namespace zb
